// The main window's batches: 実行, the start-up command line and the end of a run.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/batch_controller.h"
#include "gui/cpelimon_dlg.h"
#include "gui/file_list_model.h"
#include "gui/tree_listing.h"

namespace pelimon {

bool CpelimonDlg::StartBatch() {
    return batch_->Start(sources_.list(), quiet_run_);
}

bool CpelimonDlg::HandleCommandLine(const CommandLine& command_line) {
    quiet_run_ = command_line.quiet_run;
    if (command_line.empty) {
        return false;
    }
    // The handling fills the list itself; the views learn of it before the batch starts and once
    // more when the handling is over.
    auto show_list = [this] {
        model_->Rebuild([] {});
        ShowSourceFolderText();
        ClearPreview();
        ShowFileCount();
    };
    const BatchRunner run_and_wait = [this, &show_list](const AppSettings& /*settings*/, const FileList& list,
                                                        Interaction& /*ui*/, bool quiet_run) {
        show_list();
        ShowSettings();
        return batch_->RunAndWait(list, quiet_run);  // the controller stores what the run hands on
    };
    const CommandLineOutcome outcome =
        pelimon::HandleCommandLine(command_line, sources_, settings_, batch_->interaction(), run_and_wait);
    show_list();
    ShowSettings();
    return outcome.end_program;
}

void CpelimonDlg::OnBatchRunningChanged(bool running) {
    ui_.run->setEnabled(!running && !tree_listing_->running());
    ui_.worker->setEnabled(running);
}

void CpelimonDlg::OnBatchFinished() {
    // With Resize 1 the run has put the "resize" + date folder text into OutputPath.
    if (ui_.output->text().toStdString() != settings_.OutputPath) {
        ui_.output->setText(QString::fromStdString(settings_.OutputPath));
    }
    if (close_when_batch_ends_) {
        close();
    }
}

}  // namespace pelimon
