#include "app/terminal_interaction.h"

#include <signal.h>

#include <csignal>
#include <filesystem>

#include "app/app_texts.h"

namespace pelimon {
namespace {

volatile std::sig_atomic_t g_cancel_signal = 0;

extern "C" void OnCancelSignal(int /*signal*/) {
    g_cancel_signal = 1;
}

}  // namespace

std::string OneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (char c : text) {
        if (c != '\n' && c != '\r') {
            line += c;
        }
    }
    return line;
}

std::string FailureLine(const Error& failure) {
    std::string message = OneLine(failure.message);
    if (failure.path.empty()) {
        return message;
    }
    // Messages meant for a window often begin with the file's name; the full path replaces it.
    const std::string name = std::filesystem::path(failure.path).filename().string() + ": ";
    if (message.starts_with(name)) {
        message.erase(0, name.size());
    }
    return failure.path + ": " + message;
}

TerminalInteraction::TerminalInteraction(std::FILE* out, bool show_progress)
    : out_(out), show_progress_(show_progress) {}

void TerminalInteraction::ShowError(std::string_view caption, std::string_view text) {
    std::lock_guard lock(mutex_);
    EndProgressLine();
    std::fprintf(out_, "%.*s: %s\n", static_cast<int>(caption.size()), caption.data(), OneLine(text).c_str());
}

bool TerminalInteraction::AskYesNo(std::string_view caption, std::string_view text) {
    std::lock_guard lock(mutex_);
    EndProgressLine();
    std::fprintf(out_, "%.*s: %s %s\n", static_cast<int>(caption.size()), caption.data(), OneLine(text).c_str(),
                 app_texts::kAnsweredYes);
    return true;
}

void TerminalInteraction::ReportProgress(int done, int total) {
    if (!show_progress_ || total <= 0) {
        return;
    }
    std::lock_guard lock(mutex_);
    if (done == last_done_) {
        return;
    }
    last_done_ = done;
    std::fprintf(out_, "\r%s %d/%d", app_texts::kProgress, done, total);
    progress_open_ = true;
    if (done >= total) {
        EndProgressLine();
    }
    std::fflush(out_);
}

bool TerminalInteraction::CancelRequested() {
    return g_cancel_signal != 0;
}

void TerminalInteraction::ReportSummary(const std::vector<Error>& failures, const std::vector<std::string>& notes) {
    std::lock_guard lock(mutex_);
    EndProgressLine();
    for (const Error& failure : failures) {
        std::fprintf(out_, "pelimon: %s\n", FailureLine(failure).c_str());
    }
    for (const std::string& note : notes) {
        std::fprintf(out_, "pelimon: %s\n", OneLine(note).c_str());
    }
}

void TerminalInteraction::OfferToOpenFolder(const std::string& /*folder*/, bool& /*dont_ask_again*/) {}

void TerminalInteraction::InstallCancelSignals() {
    struct sigaction action = {};
    action.sa_handler = OnCancelSignal;
    action.sa_flags = static_cast<int>(SA_RESETHAND);
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void TerminalInteraction::EndProgressLine() {
    if (progress_open_) {
        std::fputc('\n', out_);
        progress_open_ = false;
    }
}

}  // namespace pelimon
