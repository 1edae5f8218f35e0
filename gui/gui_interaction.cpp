#include "gui/gui_interaction.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QThread>
#include <QUrl>
#include <QWidget>
#include <type_traits>

#include "controls/confirm_dialogs.h"
#include "gui/cpelimon_dlg_texts.h"
#include "settings/setting_values.h"

namespace pelimon {

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString FailureLine(const Error& failure) {
    if (failure.path.empty()) {
        return QString::fromStdString(failure.message);
    }
    return QString::fromStdString(failure.path) + QStringLiteral(": ") + QString::fromStdString(failure.message);
}

}  // namespace

GuiInteraction::GuiInteraction(QWidget* window) : QObject(window), window_(window) {}

void GuiInteraction::BeginRun(bool quiet_run, int32_t complete) {
    cancel_.store(false);
    may_ask_completion_.store(!quiet_run && complete == kAskAgain);
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

void GuiInteraction::ShowError(std::string_view caption, std::string_view text) {
    OnGuiThread([this, caption, text] { QMessageBox::critical(window_, FromUtf8(caption), FromUtf8(text)); });
}

bool GuiInteraction::AskYesNo(std::string_view caption, std::string_view text) {
    return OnGuiThread([this, caption, text] {
        return QMessageBox::question(window_, FromUtf8(caption), FromUtf8(text), QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes) == QMessageBox::Yes;
    });
}

void GuiInteraction::ReportProgress(int done, int total) {
    emit ProgressReported(done, total);
}

void GuiInteraction::ReportSummary(const std::vector<Error>& failures, const std::vector<std::string>& notes) {
    if (failures.empty() && notes.empty()) {
        return;
    }
    OnGuiThread([this, &failures, &notes] {
        emit Concluding();
        QStringList summary;
        QStringList details;
        if (!failures.empty()) {
            summary << QString::fromUtf8(main_texts::kSummaryFailedFormat).arg(failures.size());
            for (const Error& failure : failures) {
                details << FailureLine(failure);
            }
        }
        if (!notes.empty()) {
            summary << QString::fromUtf8(main_texts::kSummaryNotesFormat).arg(notes.size());
            for (const std::string& note : notes) {
                details << QString::fromStdString(note);
            }
        }
        QMessageBox box(failures.empty() ? QMessageBox::Information : QMessageBox::Warning,
                        QString::fromUtf8(main_texts::kSummaryCaption), summary.join(QLatin1Char('\n')),
                        QMessageBox::Ok, window_);
        box.setObjectName("batch_summary");
        box.setDetailedText(details.join(QLatin1Char('\n')));
        box.exec();
    });
}

void GuiInteraction::OfferToOpenFolder(const std::string& folder, bool& dont_ask_again) {
    if (!may_ask_completion_.load()) {
        return;
    }
    OnGuiThread([this, &folder, &dont_ask_again] {
        emit Concluding();
        int32_t complete = kAskAgain;
        CCompleteMsg question(complete, window_);
        const bool open = question.exec() == QDialog::Accepted;
        dont_ask_again = complete == kDontAskAgain;
        if (open && !QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)))) {
            QMessageBox::critical(window_, QString::fromUtf8(main_texts::kErrorCaption),
                                  QString::fromUtf8(main_texts::kFolderOpenFailedText));
        }
    });
}

}  // namespace pelimon
