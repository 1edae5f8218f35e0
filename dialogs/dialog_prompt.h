// How the settings dialogs put a message or a question to the person. The dialogs use message
// boxes by default; tests hand in their own implementation to answer without a modal loop.
#pragma once

#include <memory>

class QString;
class QWidget;

namespace pelimon {

class DialogPrompt {
  public:
    virtual ~DialogPrompt() = default;
    // A modal error (stop icon, OK button) over `parent`.
    virtual void ShowError(QWidget* parent, const QString& caption, const QString& text) = 0;
    // A modal question (question icon, Yes/No buttons, Yes the default, so Enter answers Yes);
    // true only for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;
};

// The implementation with QMessageBox.
std::unique_ptr<DialogPrompt> MakeMessageBoxPrompt();

}  // namespace pelimon
