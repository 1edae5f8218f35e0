#include "gui/batch_controller.h"

#include <QEventLoop>
#include <QWidget>
#include <exception>

#include "app/command_line.h"
#include "batch/output_folder.h"
#include "gui/cproc_msg.h"

namespace pelimon {

BatchController::BatchController(QWidget* window, AppSettings& settings)
    : QObject(window), window_(window), settings_(settings), interaction_(new GuiInteraction(window)) {}

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

    progress_ = new CProcMsg(window_);
    progress_->setObjectName("proc_msg");
    progress_->setAttribute(Qt::WA_DeleteOnClose, false);
    connect(progress_, &CProcMsg::CancelRequested, this, &BatchController::Cancel);
    connect(interaction_, &GuiInteraction::ProgressReported, progress_, &CProcMsg::UpdateProgress,
            Qt::QueuedConnection);
    connect(interaction_, &GuiInteraction::Concluding, progress_, &QWidget::hide);
    progress_->show();
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

void BatchController::OnWorkerFinished() {
    worker_->wait();
    worker_.reset();
    if (!settings_reset_) {
        StoreCarriedSettings(last_outcome_.carried, settings_);
    }
    if (progress_ != nullptr) {
        progress_->hide();
        progress_->deleteLater();
        progress_ = nullptr;
    }
    emit RunningChanged(false);
    emit Finished(last_outcome_);
}

}  // namespace pelimon
