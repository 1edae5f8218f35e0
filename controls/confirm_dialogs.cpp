#include "controls/confirm_dialogs.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/controls_texts.h"
#include "controls/resources.h"
#include "controls/widget_text.h"
#include "settings/setting_values.h"

namespace pelimon {

using widget_text::Tr;

namespace {
constexpr int kIconSize = 32;
}

CheckedQuestionDialog::CheckedQuestionDialog(const QString& title, const QString& text, int32_t& dont_ask_again,
                                             QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);

    auto* icon = new QLabel(this);
    icon->setObjectName("id152");
    icon->setPixmap(QuestionIcon().pixmap(kIconSize, kIconSize));
    icon->setAlignment(Qt::AlignTop);

    note_ = new QLabel(this);
    note_->setObjectName("note");
    note_->hide();
    auto* message = new QLabel(text, this);
    message->setObjectName("message");

    auto* box = new QCheckBox(Tr(controls_texts::kDontAskAgain), this);
    box->setObjectName("id1007");
    connect(box, &QCheckBox::toggled, this,
            [&dont_ask_again](bool on) { dont_ask_again = on ? kDontAskAgain : kAskAgain; });

    auto* yes = new QPushButton(Tr(controls_texts::kYes), this);
    yes->setObjectName("id1");
    yes->setDefault(true);
    auto* no = new QPushButton(Tr(controls_texts::kNo), this);
    no->setObjectName("id2");
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);

    auto* text_column = new QVBoxLayout;
    text_column->addWidget(note_);
    text_column->addWidget(message);
    text_column->addWidget(box);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(text_column, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(yes);
    buttons->addWidget(no);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CheckedQuestionDialog::SetNote(const QString& note) {
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
}

CCompleteMsg::CCompleteMsg(int32_t& complete, QWidget* parent)
    : CheckedQuestionDialog(Tr(controls_texts::kCompleteTitle), Tr(controls_texts::kCompleteText), complete, parent) {}

CConfirm::CConfirm(int32_t& confirm, QWidget* parent)
    : CheckedQuestionDialog(Tr(controls_texts::kConfirmTitle), Tr(controls_texts::kConfirmText), confirm, parent) {}

CDefConfirm::CDefConfirm(int32_t& def_confirm, QWidget* parent)
    : CheckedQuestionDialog(Tr(controls_texts::kDefConfirmTitle), Tr(controls_texts::kDefConfirmText), def_confirm,
                            parent) {}

}  // namespace pelimon
