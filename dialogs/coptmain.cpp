#include "dialogs/coptmain.h"
#include "controls/widget_text.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "controls/screen_fit.h"
#include "dialogs/coptmain_texts.h"
#include "dialogs/csetoption.h"
#include "dialogs/csetoption2.h"
#include "dialogs/csetoption3.h"
#include "dialogs/option_text.h"

namespace t = pelimon::option_texts;

using pelimon::widget_text::Text;
using pelimon::widget_text::Tr;

namespace {

constexpr char kDefaultBaseName[] = "resize";

// A page in a scroll area, so that the dialog fits a small or highly scaled screen: the page
// scrolls when the dialog is smaller than the page.
QWidget* Scrollable(QWidget* page) {
    return new pelimon::FittingScrollArea(page);
}

}  // namespace

COptMain::COptMain(pelimon::AppSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), prompt_(pelimon::MakeMessageBoxPrompt()) {
    setWindowTitle(Tr(t::kTitle));
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("id1035"));
    general_ = new CSetOption(settings_, tabs_);
    file_name_ = new CSetOption2(settings_, tabs_);
    reduction_ = new CSetOption3(settings_, tabs_);
    tabs_->addTab(Scrollable(general_), Tr(t::kTabGeneral));
    const int file_name_tab = tabs_->addTab(Scrollable(file_name_), Tr(t::kTabFileName));
    tabs_->addTab(Scrollable(reduction_), Tr(t::kTabReduction));
    connect(tabs_, &QTabWidget::currentChanged, this, [this, file_name_tab](int index) {
        if (index == file_name_tab) {
            file_name_->ApplyEnabling();
        }
    });

    // Plain buttons rather than a button box: a button box makes OK the default button when it
    // is shown, and Enter must not close this dialog, not even through a focused button.
    auto* ok = new QPushButton(Text(t::kOk), this);
    auto* cancel = new QPushButton(Tr(t::kCancel), this);
    ok->setObjectName(QStringLiteral("id1"));
    cancel->setObjectName(QStringLiteral("id2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {ok, cancel}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    connect(ok, &QPushButton::clicked, this, &COptMain::accept);
    connect(cancel, &QPushButton::clicked, this, &COptMain::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);
}

COptMain::~COptMain() = default;

// Opens at its natural size, but never larger than the screen's free area.
void COptMain::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    pelimon::FitToScreen(*this);
}

void COptMain::setPrompt(std::unique_ptr<pelimon::DialogPrompt> prompt) {
    prompt_ = std::move(prompt);
}

void COptMain::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

bool COptMain::StoreNaming(pelimon::AppSettings& next) {
    const int32_t rule = file_name_->CheckedNameRule();
    if (rule != 0) {
        next.NameRule = rule;
    }
    if (next.NameRule == pelimon::kNameAppendText || next.NameRule == pelimon::kNamePrependText) {
        const QString add_text = file_name_->AddText();
        if (!pelimon::IsUsableNameText(add_text.toStdString())) {
            prompt_->ShowError(this, Tr(t::kNameErrorCaption), Tr(t::kNameHasSlash));
            return false;
        }
        if (add_text.isEmpty() && !prompt_->AskYesNo(this, Tr(t::kSameNameCaption), Tr(t::kSameName))) {
            return false;
        }
        next.AddText = add_text.toStdString();
    } else if (next.NameRule == pelimon::kNameSerial) {
        const QString base_name = file_name_->BaseName();
        if (!pelimon::IsUsableNameText(base_name.toStdString())) {
            prompt_->ShowError(this, Tr(t::kNameErrorCaption), Tr(t::kNameHasSlash));
            return false;
        }
        if (base_name.isEmpty()) {
            if (!prompt_->AskYesNo(this, Tr(t::kBaseNameCaption), Tr(t::kBaseNameDefault))) {
                return false;
            }
            next.BaseName = kDefaultBaseName;
        } else {
            next.BaseName = base_name.toStdString();
        }
    }
    file_name_->StoreFlags(next);
    return true;
}

// OK reads every page into a copy first, so that a declined question stores nothing.
void COptMain::accept() {
    pelimon::AppSettings next = settings_;
    general_->Store(next);
    if (!StoreNaming(next)) {
        return;
    }
    reduction_->Store(next);
    settings_ = std::move(next);
    QDialog::accept();
}
