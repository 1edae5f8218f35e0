#include "gui/gui_interaction.h"

#include <QMessageBox>
#include <QThread>
#include <QWidget>
#include <type_traits>
#include <utility>

#include "settings/setting_values.h"

namespace pelimon {

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

GuiInteraction::GuiInteraction(QWidget* window) : QObject(window), window_(window) {}

void GuiInteraction::BeginRun(bool quiet_run, int32_t complete) {
    cancel_.store(false);
    may_ask_completion_.store(!quiet_run && complete == kAskAgain);
    run_end_ = RunEnd{};
}

template <class Function>
auto GuiInteraction::OnGuiThread(Function function) -> decltype(function()) {
    using R = decltype(function());
    if (QThread::currentThread() == thread()) {
        return function();
    }
    if constexpr (std::is_void_v<R>) {
        QMetaObject::invokeMethod(this, function, Qt::BlockingQueuedConnection);
    } else {
        R result{};
        QMetaObject::invokeMethod(
            this, [&result, &function] { result = function(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}

void GuiInteraction::ShowError(const Notice& error) {
    OnGuiThread([this, &error] {
        emit Concluding();
        QMessageBox::critical(window_, FromUtf8(error.caption), FromUtf8(error.text));
    });
}

bool GuiInteraction::AskYesNo(std::string_view caption, std::string_view text) {
    return OnGuiThread([this, caption, text] {
        emit Concluding();
        return QMessageBox::question(window_, FromUtf8(caption), FromUtf8(text), QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes) == QMessageBox::Yes;
    });
}

void GuiInteraction::ReportProgress(int done, int total) {
    emit ProgressReported(done, total);
}

void GuiInteraction::ReportCurrentFile(std::string_view file_name) {
    emit CurrentFileReported(FromUtf8(file_name));
}

void GuiInteraction::ReportSummary(const std::vector<Error>& failures, const std::vector<std::string>& notes) {
    run_end_.failures = failures;
    run_end_.notes = notes;
}

// The answer comes after the run (BatchController), so the box is never ticked from here.
void GuiInteraction::OfferToOpenFolder(const std::string& folder, bool& dont_ask_again) {
    dont_ask_again = false;
    run_end_.offer_folder = may_ask_completion_.load();
    run_end_.folder = folder;
}

GuiInteraction::RunEnd GuiInteraction::TakeRunEnd() {
    return std::exchange(run_end_, RunEnd{});
}

}  // namespace pelimon
