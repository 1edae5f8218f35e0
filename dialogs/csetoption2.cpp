#include "dialogs/csetoption2.h"
#include "controls/widget_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "batch/output_naming.h"
#include "common/text.h"
#include "dialogs/coptmain_texts.h"
#include "dialogs/option_text.h"

namespace t = pelimon::option_texts;

using pelimon::widget_text::Named;
using pelimon::widget_text::Tr;

namespace {

// Lets only digits be typed into the start-number edit; control keys (backspace, arrows) pass.
// Text set by the program (the padded start number) is not filtered.
class DigitsOnlyFilter final : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const QString typed = static_cast<QKeyEvent*>(event)->text();
            if (!typed.isEmpty() && typed.at(0).isPrint() && !(typed.at(0) >= u'0' && typed.at(0) <= u'9')) {
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

CSetOption2::CSetOption2(pelimon::AppSettings& settings, QWidget* parent) : QWidget(parent), settings_(settings) {
    setObjectName(QStringLiteral("CSetOption2"));
    BuildLayout();
    Show();
    ApplyEnabling();

    for (QRadioButton* radio : {append_, prepend_, serial_}) {
        connect(radio, &QRadioButton::clicked, this, &CSetOption2::ApplyEnabling);
    }
    connect(zero_padding_, &QCheckBox::clicked, this, [this](bool checked) {
        digit_->setEnabled(checked);
        ShowStartNumber();
    });
    connect(digit_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) {
            settings_.Digit = pelimon::SettingRowOf(&pelimon::AppSettings::Digit).min + index;
            ShowStartNumber();
        }
    });
    connect(start_num_, &QLineEdit::textChanged, this,
            [this](const QString& text) { settings_.StartNum = pelimon::LeadingInt(text.toStdString()); });
    connect(clear_, &QPushButton::clicked, this, [this] { settings_.ImageNum = 0; });
}

void CSetOption2::BuildLayout() {
    auto* group = new QGroupBox(Tr(t::kNamingGroup), this);
    auto* grid = new QGridLayout(group);
    append_ = Named(new QRadioButton(Tr(t::kAppendText), group), "id1016");
    prepend_ = Named(new QRadioButton(Tr(t::kPrependText), group), "id1018");
    add_text_ = Named(new QLineEdit(group), "id1004");
    serial_ = Named(new QRadioButton(Tr(t::kSerialNumber), group), "id1017");
    base_name_ = Named(new QLineEdit(group), "id1006");
    start_num_ = Named(new QLineEdit(group), "id1005");
    start_num_->installEventFilter(new DigitsOnlyFilter(start_num_));
    zero_padding_ = Named(new QCheckBox(Tr(t::kZeroPadding), group), "id1009");
    digit_ = Named(new QComboBox(group), "id1028");
    save_num_ = Named(new QCheckBox(Tr(t::kSaveNum), group), "id1010");
    clear_ = Named(new QPushButton(Tr(t::kClearNumber), group), "id1000");
    clear_->setAutoDefault(false);

    grid->addWidget(append_, 0, 0, 1, 4);
    grid->addWidget(prepend_, 1, 0, 1, 4);
    grid->addWidget(new QLabel(Tr(t::kAddTextLabel), group), 2, 1);
    grid->addWidget(add_text_, 2, 2, 1, 2);
    grid->addWidget(serial_, 3, 0, 1, 4);
    grid->addWidget(new QLabel(Tr(t::kBaseNameLabel), group), 4, 1);
    grid->addWidget(base_name_, 4, 2, 1, 2);
    grid->addWidget(new QLabel(Tr(t::kStartNumLabel), group), 5, 1);
    grid->addWidget(start_num_, 5, 2);
    grid->addWidget(zero_padding_, 6, 1, 1, 2);
    grid->addWidget(digit_, 6, 3);
    grid->addWidget(save_num_, 7, 1, 1, 2);
    grid->addWidget(clear_, 7, 3);
    grid->setColumnMinimumWidth(0, 16);

    auto* page = new QVBoxLayout(this);
    page->addWidget(group);
    page->addStretch();
}

void CSetOption2::Show() {
    // One choice per digit count the Digit setting offers; a count beyond them selects none.
    const pelimon::SettingRow& digit = pelimon::SettingRowOf(&pelimon::AppSettings::Digit);
    for (int32_t digits = digit.min; digits <= digit.max; ++digits) {
        digit_->addItem(QString::number(digits));
    }
    digit_->setCurrentIndex(settings_.Digit >= digit.min && settings_.Digit <= digit.max ? settings_.Digit - digit.min
                                                                                         : -1);
    switch (settings_.NameRule) {
        case pelimon::kNameAppendText:
            append_->setChecked(true);
            break;
        case pelimon::kNamePrependText:
            prepend_->setChecked(true);
            break;
        case pelimon::kNameSerial:
            serial_->setChecked(true);
            break;
        default:
            break;
    }
    base_name_->setText(QString::fromStdString(settings_.BaseName));
    add_text_->setText(QString::fromStdString(settings_.AddText));
    ShowSwitches(Switches(), settings_);
    ShowStartNumber();
}

// The start number as the output names will carry it, by the names' own rule (also for a Digit
// beyond the drop-down's 1..9 that a settings or parameter file set); the edit's change handler
// then stores the same number again.
void CSetOption2::ShowStartNumber() {
    start_num_->setText(QString::fromStdString(
        pelimon::FormatRunningNumber(settings_.StartNum, settings_.Digit, zero_padding_->isChecked())));
}

void CSetOption2::ApplyEnabling() {
    const bool add_text_rule = append_->isChecked() || prepend_->isChecked();
    add_text_->setEnabled(add_text_rule);
    for (QWidget* serial_control :
         std::initializer_list<QWidget*>{base_name_, start_num_, clear_, zero_padding_, save_num_}) {
        serial_control->setEnabled(!add_text_rule);
    }
    // The digit count only matters for padded numbers.
    digit_->setEnabled(!add_text_rule && zero_padding_->isChecked());
}

int32_t CSetOption2::CheckedNameRule() const {
    if (append_->isChecked()) {
        return pelimon::kNameAppendText;
    }
    if (prepend_->isChecked()) {
        return pelimon::kNamePrependText;
    }
    return serial_->isChecked() ? pelimon::kNameSerial : 0;
}

QString CSetOption2::AddText() const {
    return add_text_->text();
}

QString CSetOption2::BaseName() const {
    return base_name_->text();
}

std::array<SwitchBox, 2> CSetOption2::Switches() const {
    return {{{zero_padding_, &pelimon::AppSettings::ZeroPadding}, {save_num_, &pelimon::AppSettings::SaveNum}}};
}

void CSetOption2::StoreFlags(pelimon::AppSettings& settings) const {
    StoreSwitches(Switches(), settings);
}
