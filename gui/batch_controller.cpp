#include "gui/batch_controller.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <exception>

#include "app/command_line.h"
#include "batch/output_folder.h"
#include "controls/confirm_dialogs.h"
#include "controls/widget_text.h"
#include "gui/cpelimon_dlg_texts.h"
#include "gui/cproc_msg.h"
#include "gui/run_report.h"
#include "settings/setting_values.h"

namespace pelimon {

using widget_text::Tr;

BatchController::BatchController(QWidget* window, AppSettings& settings)
    : QObject(window), window_(window), settings_(settings), interaction_(new GuiInteraction(window)) {
    connect(
        interaction_, &GuiInteraction::CurrentFileReported, this, [this](const QString& name) { current_file_ = name; },
        Qt::QueuedConnection);
    connect(interaction_, &GuiInteraction::ProgressReported, this, &BatchController::OnProgress, Qt::QueuedConnection);
    connect(interaction_, &GuiInteraction::Concluding, this, &BatchController::CloseProgressDialog);
}

BatchController::~BatchController() {
    // The window waits for a run to end before it closes; this only guards a run that is still
    // going when the program is torn down otherwise.
    if (worker_) {
        interaction_->RequestCancel();
        worker_->wait();
    }
}

bool BatchController::Start(const FileList& list, bool quiet_run) {
    if (running()) {
        return false;
    }
    run_settings_ = settings_;
    run_list_ = list;
    settings_reset_ = false;
    interaction_->BeginRun(quiet_run, settings_.Complete);
    current_file_.clear();
    quiet_end_ = false;
    emit RunningChanged(true);

    const BatchOptions options{.quiet_run = quiet_run, .workers = 0};
    worker_.reset(QThread::create([this, options, today = TodayDateText()] {
        try {
            last_outcome_ = RunBatch(run_settings_, run_list_, *interaction_, options, today);
        } catch (const std::exception& failure) {
            // Out of memory or the like: the run ends as stopped, with the reason.
            last_outcome_ = BatchOutcome{};
            last_outcome_.kind = BatchOutcome::Kind::kStopped;
            last_outcome_.carried = CarriedFrom(run_settings_);
            last_outcome_.failures.push_back(Error{failure.what(), {}});
        }
    }));
    connect(worker_.get(), &QThread::finished, this, &BatchController::OnWorkerFinished);
    worker_->start();
    return true;
}

BatchOutcome BatchController::RunAndWait(const FileList& list, bool quiet_run) {
    if (!Start(list, quiet_run)) {
        return {};
    }
    QEventLoop loop;
    connect(this, &BatchController::Finished, &loop, &QEventLoop::quit);
    loop.exec();
    return last_outcome_;
}

void BatchController::Cancel() {
    interaction_->RequestCancel();
}

void BatchController::CancelForClosing() {
    quiet_end_ = true;
    Cancel();
}

void BatchController::OnProgress(int done, int total) {
    if (!running()) {
        return;
    }
    if (progress_ == nullptr) {
        progress_ = new CProcMsg(window_);
        progress_->setObjectName("proc_msg");
        connect(progress_, &CProcMsg::CancelRequested, this, &BatchController::Cancel);
        if (interaction_->CancelRequested()) {
            progress_->reject();
        }
        progress_->show();
    }
    // The bar, the percentage and the count all show the same count of files.
    progress_->UpdateProgress(done, total);
    progress_->ShowFile(done, total, current_file_);
}

// Hidden at once and deleted later: this may run inside a signal of the dialog itself.
void BatchController::CloseProgressDialog() {
    if (progress_ != nullptr) {
        progress_->hide();
        progress_->deleteLater();
        progress_ = nullptr;
    }
}

void BatchController::OnWorkerFinished() {
    worker_->wait();
    worker_.reset();
    if (!settings_reset_) {
        StoreCarriedSettings(last_outcome_.carried, settings_);
    }
    CloseProgressDialog();
    if (!quiet_end_) {
        ShowRunEnd(last_outcome_);
    }
    emit RunningChanged(false);
    emit Finished(last_outcome_);
}

// Nothing to say when the run stopped before its jobs (its message has been shown); a report when
// it was cancelled, broke off, found everything up to date, or something was left out, failed or
// renamed; then the completion
// question when it is due.
void BatchController::ShowRunEnd(const BatchOutcome& outcome) {
    GuiInteraction::RunEnd end = interaction_->TakeRunEnd();
    const bool reached_jobs =
        outcome.kind == BatchOutcome::Kind::kCancelled || outcome.kind == BatchOutcome::Kind::kCompleted;
    if (!reached_jobs && outcome.failures.empty()) {
        return;
    }
    if (end.failures.empty()) {
        end.failures = outcome.failures;  // a run that broke off reports its reason only here
    }
    const auto checked =
        std::count_if(run_list_.rows().begin(), run_list_.rows().end(), [](const FileRow& row) { return row.checked; });
    const RunCounts counts = CountRun(outcome, static_cast<int>(checked));
    const bool all_up_to_date = counts.written == 0 && counts.up_to_date > 0;
    if (counts.cancelled || counts.left_out > 0 || counts.failed > 0 || all_up_to_date || !end.notes.empty()) {
        CRunReport report(counts, end.failures, end.notes, window_);
        report.exec();
    }
    if (!end.offer_folder) {
        return;
    }
    int32_t complete = kAskAgain;
    CCompleteMsg question(complete, window_);
    question.SetNote(RunCountsText(counts));
    const bool open = question.exec() == QDialog::Accepted;
    if (complete == kDontAskAgain) {
        settings_.Complete = kDontAskAgain;
    }
    if (open && !QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(end.folder)))) {
        QMessageBox::critical(window_, Tr(main_texts::kErrorCaption), Tr(main_texts::kFolderOpenFailedText));
    }
}

}  // namespace pelimon
