// A DialogPrompt for tests: records every message and question, and answers questions from a
// queue (No when the queue is empty). The log outlives the dialog that owns the prompt.
#pragma once

#include <QString>
#include <deque>
#include <memory>
#include <vector>

#include "dialogs/dialog_prompt.h"

struct PromptLog {
    struct Entry {
        QString caption;
        QString text;
    };
    std::vector<Entry> errors;
    std::vector<Entry> questions;
    std::deque<bool> answers;
};

class RecordingPrompt final : public pelimon::DialogPrompt {
  public:
    explicit RecordingPrompt(PromptLog& log) : log_(log) {}

    void ShowError(QWidget*, const QString& caption, const QString& text) override {
        log_.errors.push_back({caption, text});
    }
    bool AskYesNo(QWidget*, const QString& caption, const QString& text) override {
        log_.questions.push_back({caption, text});
        if (log_.answers.empty()) {
            return false;
        }
        const bool answer = log_.answers.front();
        log_.answers.pop_front();
        return answer;
    }

  private:
    PromptLog& log_;
};

inline std::unique_ptr<pelimon::DialogPrompt> Recording(PromptLog& log) {
    return std::make_unique<RecordingPrompt>(log);
}
