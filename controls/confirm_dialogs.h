// The three yes/no questions that can be switched off for good: the completion question after a
// batch, the warning before the file list is rebuilt, and the warning before a reset to defaults.
#pragma once

#include <QDialog>
#include <cstdint>

class QLabel;

namespace pelimon {

// A question with "はい" (objectName id1, accepts) and "いいえ" (id2, rejects; so do Escape and
// closing), and the check box id1007 "以後このメッセージを表示しない", which writes 1 (ticked)
// or 0 (cleared) into `dont_ask_again` at every click. The box starts cleared. `dont_ask_again`
// must outlive the dialog.
class CheckedQuestionDialog : public QDialog {
    Q_OBJECT
  public:
    CheckedQuestionDialog(const QString& title, const QString& text, int32_t& dont_ask_again, QWidget* parent);

    // A line above the question (objectName "note"), such as what a batch has done; none when empty.
    void SetNote(const QString& note);

  private:
    QLabel* note_;
};

// After a batch: open the output folder? The box sets `Complete`.
class CCompleteMsg : public CheckedQuestionDialog {
    Q_OBJECT
  public:
    CCompleteMsg(int32_t& complete, QWidget* parent);
};

// Before a type box rebuilds the list and clears the rotations. The box sets `Confirm`.
class CConfirm : public CheckedQuestionDialog {
    Q_OBJECT
  public:
    CConfirm(int32_t& confirm, QWidget* parent);
};

// Before every setting is reset. The box sets `DefConfirm`.
class CDefConfirm : public CheckedQuestionDialog {
    Q_OBJECT
  public:
    CDefConfirm(int32_t& def_confirm, QWidget* parent);
};

}  // namespace pelimon
