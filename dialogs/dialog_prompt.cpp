#include "dialogs/dialog_prompt.h"

#include <QMessageBox>

namespace pelimon {
namespace {

class MessageBoxPrompt final : public DialogPrompt {
  public:
    void ShowError(QWidget* parent, const QString& caption, const QString& text) override {
        QMessageBox::critical(parent, caption, text, QMessageBox::Ok);
    }
    bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) override {
        return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
               QMessageBox::Yes;
    }
};

}  // namespace

std::unique_ptr<DialogPrompt> MakeMessageBoxPrompt() {
    return std::make_unique<MessageBoxPrompt>();
}

}  // namespace pelimon
