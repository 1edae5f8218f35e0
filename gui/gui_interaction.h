// The window's side of a batch: message boxes, the completion question and the summary on the
// GUI thread, progress through a queued signal, and an atomic cancel flag.
// A batch calls it from worker threads: every call that shows something is carried over to the
// GUI thread and waits there for the answer (a blocking queued call). Called on the GUI thread
// itself (the command-line handling before a batch), it shows the box directly.
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

    void ShowError(std::string_view caption, std::string_view text) override;
    bool AskYesNo(std::string_view caption, std::string_view text) override;
    void ReportProgress(int done, int total) override;
    bool CancelRequested() override { return cancel_.load(); }
    void ReportSummary(const std::vector<Error>& failures, const std::vector<std::string>& notes) override;
    void OfferToOpenFolder(const std::string& folder, bool& dont_ask_again) override;

  signals:
    // Emitted in the thread that reports progress; connect with a queued connection.
    void ProgressReported(int done, int total);
    // The run has finished its work and is about to show its summary or completion question
    // (GUI thread): the progress dialog should go.
    void Concluding();

  private:
    template <class Function>
    auto OnGuiThread(Function function) -> decltype(function());

    QPointer<QWidget> window_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> may_ask_completion_{true};
};

}  // namespace pelimon
