// The window's side of a batch: message boxes and questions on the GUI thread, progress and the
// current file through queued signals, and an atomic cancel flag.
// A batch calls it from worker threads: every call that shows something is carried over to the
// GUI thread and waits there for the answer (a blocking queued call). Called on the GUI thread
// itself (the command-line handling before a batch), it shows the box directly.
// The end of a run (the summary and the completion question) is only recorded here; the batch
// controller shows it once the run is over, together with the counts (TakeRunEnd).
#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <cstdint>

#include "batch/interaction.h"

class QWidget;

namespace pelimon {

class GuiInteraction : public QObject, public Interaction {
    Q_OBJECT
  public:
    // `window` owns the boxes; it must outlive every batch that uses this object.
    explicit GuiInteraction(QWidget* window);

    // A new run: clears the cancel flag and remembers whether the completion question may be
    // asked (not for quiet runs, not when `complete` is 1). GUI thread.
    void BeginRun(bool quiet_run, int32_t complete);
    // Raises the cancel flag; the run stops before its next image. Any thread.
    void RequestCancel() { cancel_.store(true); }

    void ShowError(const Notice& error) override;
    bool AskYesNo(std::string_view caption, std::string_view text) override;
    void ReportProgress(int done, int total) override;
    void ReportCurrentFile(std::string_view file_name) override;
    bool CancelRequested() override { return cancel_.load(); }
    void ReportSummary(const std::vector<Error>& failures, const std::vector<std::string>& notes) override;
    void OfferToOpenFolder(const std::string& folder, bool& dont_ask_again) override;

    // What the run asked to show at its end; cleared by taking it. GUI thread, after the run.
    struct RunEnd {
        std::vector<Error> failures;
        std::vector<std::string> notes;
        bool offer_folder = false;  // the completion question is due
        std::string folder;
    };
    RunEnd TakeRunEnd();

  signals:
    // Emitted in the thread that reports progress; connect with a queued connection.
    void ProgressReported(int done, int total);
    // The file of the next ProgressReported, emitted just before it in the same thread.
    void CurrentFileReported(const QString& file_name);
    // A message or a question is about to be shown (GUI thread): the progress dialog must go
    // first, so that nothing stands in front of the box.
    void Concluding();

  private:
    template <class Function>
    auto OnGuiThread(Function function) -> decltype(function());

    QPointer<QWidget> window_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> may_ask_completion_{true};
    RunEnd run_end_;  // written by the run's thread, read after it has ended
};

}  // namespace pelimon
