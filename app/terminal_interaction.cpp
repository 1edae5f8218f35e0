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

TerminalInteraction::TerminalInteraction(std::FILE* out, bool show_progress, TerminalStyle style)
    : out_(out), show_progress_(show_progress), style_(style) {}

void TerminalInteraction::ShowError(const Notice& error) {
    std::lock_guard lock(mutex_);
    EndProgressLine();
    if (style_ == TerminalStyle::kSentences) {
        std::fprintf(out_, "pelimon: %s\n", OneLine(error.sentence).c_str());
        return;
    }
    std::fprintf(out_, "%s: %s\n", error.caption.c_str(), OneLine(error.text).c_str());
}

bool TerminalInteraction::AskYesNo(std::string_view caption, std::string_view text) {
    std::lock_guard lock(mutex_);
    if (quiet_ || style_ == TerminalStyle::kSentences) {
        return true;
    }
    EndProgressLine();
    std::fprintf(out_, "%.*s: %s %s\n", static_cast<int>(caption.size()), caption.data(), OneLine(text).c_str(),
                 app_texts::kAnsweredYes.c_str());
    return true;
}

void TerminalInteraction::ReportDone(std::string_view sentence) {
    std::lock_guard lock(mutex_);
    if (quiet_ || style_ != TerminalStyle::kSentences) {
        return;
    }
    EndProgressLine();
    std::fprintf(out_, "pelimon: %s\n", OneLine(sentence).c_str());
}

void TerminalInteraction::ReportProgress(int done, int total) {
    if (!show_progress_ || total <= 0) {
        return;
    }
    std::lock_guard lock(mutex_);
    // While the files are examined the count stays at 0 and only the file changes.
    if (done == last_done_ && current_file_ == last_file_) {
        return;
    }
    last_done_ = done;
    last_file_ = current_file_;
    const auto now = std::chrono::steady_clock::now();
    if (done <= 1) {
        started_ = now;
    }
    std::string line = "\r";
    line += app_texts::kProgress;
    line += ' ';
    line += std::to_string(done);
    line += '/';
    line += std::to_string(total);
    if (!current_file_.empty()) {
        line += "  ";
        line += current_file_;
    }
    const double elapsed = std::chrono::duration<double>(now - started_).count();
    if (done > 1 && done < total && elapsed >= 1) {
        const int left = static_cast<int>(elapsed / (done - 1) * (total - done) + 0.5);
        line += "  ";
        line += Format(app_texts::kTimeLeft, left / 60, left % 60);
    }
    line += "\x1b[K";  // clears what a longer earlier line left
    std::fputs(line.c_str(), out_);
    progress_open_ = true;
    if (done >= total) {
        EndProgressLine();
    }
    std::fflush(out_);
}

void TerminalInteraction::ReportCurrentFile(std::string_view file_name) {
    std::lock_guard lock(mutex_);
    current_file_ = std::filesystem::path(file_name).filename().string();
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
