// An Interaction that records everything the batch says and answers questions as told.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "batch/interaction.h"

namespace pelimon::test {

class FakeInteraction : public Interaction {
  public:
    struct Message {
        std::string caption;
        std::string text;
        std::string sentence;  // of an error
    };

    void ShowError(const Notice& error) override { errors.push_back({error.caption, error.text, error.sentence}); }
    bool AskYesNo(std::string_view caption, std::string_view text) override {
        questions.push_back({std::string(caption), std::string(text), {}});
        return answer_yes;
    }
    void ReportDone(std::string_view sentence) override { reported_done.emplace_back(sentence); }
    void ReportProgress(int done, int total) override {
        const std::lock_guard lock(mutex_);
        progress.emplace_back(done, total);
        if (cancel_after_progress > 0 && static_cast<int>(progress.size()) >= cancel_after_progress) {
            cancel = true;
        }
    }
    bool CancelRequested() override { return cancel.load(); }
    void ReportSummary(const std::vector<Error>& failures_shown, const std::vector<std::string>& notes_shown) override {
        ++summaries;
        failures = failures_shown;
        notes = notes_shown;
    }
    void OfferToOpenFolder(const std::string& folder, bool& dont_ask_again) override {
        offered_folders.push_back(folder);
        dont_ask_again = tick_dont_ask_again;
    }

    // Answers and behaviour.
    bool answer_yes = true;
    bool tick_dont_ask_again = false;
    int cancel_after_progress = 0;  // raise the cancel flag once this many progress reports came in
    std::atomic<bool> cancel{false};

    // What the batch said.
    std::vector<Message> errors;
    std::vector<Message> questions;
    std::vector<std::string> reported_done;  // ReportDone
    std::vector<std::pair<int, int>> progress;
    int summaries = 0;
    std::vector<Error> failures;
    std::vector<std::string> notes;
    std::vector<std::string> offered_folders;

  private:
    std::mutex mutex_;
};

}  // namespace pelimon::test
