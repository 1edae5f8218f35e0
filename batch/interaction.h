// How a batch talks to the person: the only way the core shows anything or asks anything.
// The window implements it with message boxes and the progress dialog; the unattended run
// implements it on the terminal (messages on standard error, safe answers to questions).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace pelimon {

// An error said two ways: as a message box (caption and text, as the window shows it) and as one
// sentence that says what happened, for a line on a terminal ("cannot write to the output folder
// /out/ (...)"; no caption, no advice, no final full stop).
struct Notice {
    std::string caption;
    std::string text;
    std::string sentence;
};

class Interaction {
  public:
    virtual ~Interaction() = default;

    // A modal error message (stop icon): the notice's caption and text, or its sentence.
    virtual void ShowError(const Notice& error) = 0;
    // A Yes/No question (question icon). True means Yes.
    virtual bool AskYesNo(std::string_view caption, std::string_view text) = 0;
    // What the run did after a question was answered Yes, as one sentence ("created the output
    // folder /out/"), for a terminal that does not print the question. Ignored by default: a
    // window has shown the question.
    virtual void ReportDone(std::string_view sentence) { static_cast<void>(sentence); }
    // Progress of the whole run, one count of files: `done` of the run's `total` files are
    // finished. While the files are examined (before any is reduced) done is 0 and total the
    // number of checked files; then each reduced file (written, skipped or failed) adds one, of the
    // files that take a job. May be called from worker threads.
    virtual void ReportProgress(int done, int total) = 0;
    // The file the next ReportProgress step is about (its name without folder), reported just
    // before that step, from the same thread. For display only; ignored by default.
    virtual void ReportCurrentFile(std::string_view file_name) { static_cast<void>(file_name); }
    // Polled between images, possibly from worker threads.
    virtual bool CancelRequested() = 0;
    // The run is over: per-file failures (one entry each, in job order) and renamed outputs
    // (a note each), shown once, together.
    virtual void ReportSummary(const std::vector<Error>& failures, const std::vector<std::string>& notes) = 0;
    // Offers to open the output folder when the run is over (the completion question). The
    // implementation asks only when it should; `dont_ask_again` is set when the person ticks
    // the box that stops the question for good.
    virtual void OfferToOpenFolder(const std::string& folder, bool& dont_ask_again) = 0;
};

}  // namespace pelimon
