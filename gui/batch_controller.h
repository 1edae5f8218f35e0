// Runs batches for the window on a worker thread. The window stays responsive; CProcMsg shows the
// progress and its キャンセル raises the cancel flag. One run at a time.
//
// The progress dialog opens with the first progress report, that is once the output folder has
// been checked and its questions answered, and closes before any message box of the run. When the
// run is over the controller says how it ended (CRunReport: the counts, the failed files) and asks
// the completion question (with the counts) when it is due.
//
// A run works on copies of the settings and of the file list taken at its start, so the person
// may go on changing settings while it lasts. When it ends, what the run hands on to the next
// one (the outcome's CarriedSettings) is stored into the live settings, unless the settings were
// reset to their defaults while it lasted: the reset wins.
#pragma once

#include <QObject>
#include <QPointer>
#include <QThread>
#include <memory>

#include "batch/run_batch.h"
#include "filelist/file_list.h"
#include "gui/cproc_msg.h"
#include "gui/gui_interaction.h"
#include "settings/app_settings.h"

class QWidget;

namespace pelimon {

class BatchController : public QObject {
    Q_OBJECT
  public:
    // `window` parents the progress dialog and the message boxes; `settings` must outlive this.
    BatchController(QWidget* window, AppSettings& settings);
    ~BatchController() override;

    bool running() const { return worker_ != nullptr; }
    GuiInteraction& interaction() { return *interaction_; }
    // The progress dialog of the run in progress; null between runs.
    CProcMsg* progress_dialog() const { return progress_; }

    // Starts a run over `list`; false (and nothing happens) while another run lasts.
    bool Start(const FileList& list, bool quiet_run);
    // Starts a run and waits for its end in a local event loop, so the window stays live. For the
    // start-up run of a command line.
    BatchOutcome RunAndWait(const FileList& list, bool quiet_run);
    // Asks the run in progress to stop before its next image.
    void Cancel();
    // As Cancel, for a window that closes: the run ends without its end messages.
    void CancelForClosing();
    // The live settings were reset to their defaults: the run in progress hands nothing on.
    void SettingsReset() { settings_reset_ = true; }

  signals:
    void RunningChanged(bool running);
    void Finished(const pelimon::BatchOutcome& outcome);

  private:
    void OnProgress(int done, int total);
    void CloseProgressDialog();
    void OnWorkerFinished();
    void ShowRunEnd(const BatchOutcome& outcome);

    QWidget* window_;
    AppSettings& settings_;
    GuiInteraction* interaction_;
    QPointer<CProcMsg> progress_;
    AppSettings run_settings_;
    bool settings_reset_ = false;  // during the run in progress
    FileList run_list_;
    QString current_file_;       // the file of the next progress report
    bool quiet_end_ = false;     // no end messages (the window is closing)
    BatchOutcome last_outcome_;  // written by the worker, read after it has ended
    std::unique_ptr<QThread> worker_;
};

}  // namespace pelimon
