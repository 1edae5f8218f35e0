// The Interaction of runs without a window: everything goes to standard error, questions take
// their safe answer, and nothing waits for a person. Two ways of saying things: /Q and /F print
// the window's message boxes ("caption: text"), the POSIX command line prints what happened, one
// sentence a line, each starting with "pelimon: ".
#pragma once

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "batch/interaction.h"

namespace pelimon {

enum class TerminalStyle {
    kMessageBoxes,  // "caption: text", questions printed with their answer
    kSentences,     // "pelimon: <sentence>", questions not printed, what Yes did printed instead
};

class TerminalInteraction : public Interaction {
  public:
    // Writes to `out` (standard error in the program). Progress is drawn only when
    // `show_progress` is set (the program sets it when standard error is a terminal).
    TerminalInteraction(std::FILE* out, bool show_progress, TerminalStyle style = TerminalStyle::kMessageBoxes);

    // "caption: text" on one line (line breaks inside the text are dropped), or
    // "pelimon: sentence".
    void ShowError(const Notice& error) override;
    // Answered Yes: the only question a batch asks is whether to create a missing output folder,
    // and creating it is what an unattended run wants. With message boxes it is printed as
    // "caption: text → はい" (not when quiet).
    bool AskYesNo(std::string_view caption, std::string_view text) override;
    // "pelimon: sentence" with sentences (not when quiet); nothing with message boxes, whose
    // question line has said it.
    void ReportDone(std::string_view sentence) override;
    // A "\r" progress line "done/total" (files finished of the run's files), the file the batch
    // reported last and the time left, redrawn in place; finished with a newline at total.
    void ReportProgress(int done, int total) override;
    void ReportCurrentFile(std::string_view file_name) override;
    // True once SIGINT or SIGTERM arrived after InstallCancelSignals.
    bool CancelRequested() override;
    // One line per failure ("pelimon: " FailureLine) and per note ("pelimon: <note>").
    void ReportSummary(const std::vector<Error>& failures, const std::vector<std::string>& notes) override;
    // Not asked: there is no one to answer and no file manager to open.
    void OfferToOpenFolder(const std::string& folder, bool& dont_ask_again) override;

    // Makes the first SIGINT or SIGTERM a cancel request (the batch stops between images, leaving
    // no half-written file); a second one ends the process as usual.
    static void InstallCancelSignals();

    // Quiet: the answered questions and what they did are not printed (errors and failures still
    // are).
    void set_quiet(bool quiet) { quiet_ = quiet; }

  private:
    void EndProgressLine();

    std::FILE* out_;
    bool show_progress_;
    TerminalStyle style_;
    bool quiet_ = false;
    std::string current_file_;                       // name of the file a worker took last
    std::chrono::steady_clock::time_point started_;  // the first progress report
    std::mutex mutex_;                               // ReportProgress may be called from worker threads
    bool progress_open_ = false;
    int last_done_ = -1;
    std::string last_file_;  // the file of the line drawn last
};

// "<path>: <reason>" for one failed file (a leading "<file name>: " of the reason is dropped).
std::string FailureLine(const Error& failure);

// Drops the line breaks that only laid out the text in a message box.
std::string OneLine(std::string_view text);

}  // namespace pelimon
