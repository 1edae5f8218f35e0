#include "gui/preset_bar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>

#include "common/text.h"
#include "controls/widget_text.h"
#include "gui/preset_bar_texts.h"

namespace pelimon {

using namespace preset_bar_texts;
using widget_text::Named;
using widget_text::Tr;

namespace {

constexpr int kPresetChoiceId = 1051;
constexpr int kSavePresetId = 1054;
constexpr int kDeletePresetId = 1055;

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CPresetBar::CPresetBar(AppSettings& settings, QWidget* parent) : QWidget(parent), settings_(settings) {
    choice_ = Named(new QComboBox(this), kPresetChoiceId);
    choice_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    save_ = Named(new QPushButton(Tr(kSave), this), kSavePresetId);
    save_->setToolTip(Tr(kSaveTip));
    delete_ = Named(new QPushButton(Tr(kDelete), this), kDeletePresetId);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(Tr(kCaption), this);
    caption->setBuddy(choice_);
    layout->addWidget(caption);
    layout->addWidget(choice_);
    layout->addWidget(save_);
    layout->addWidget(delete_);
    layout->addStretch(1);

    connect(choice_, &QComboBox::activated, this, &CPresetBar::OnPicked);
    connect(save_, &QPushButton::clicked, this, &CPresetBar::OnSave);
    connect(delete_, &QPushButton::clicked, this, &CPresetBar::OnDelete);
    Reload();
}

void CPresetBar::Reload() {
    const QString current = choice_->currentIndex() > 0 ? choice_->currentText() : QString();
    Result<PresetList> loaded = LoadPresets(settings_.ProfilePath);
    presets_ = loaded ? std::move(loaded).value() : PresetList{{}, {loaded.error().message}};
    ShowPresets(current);
}

void CPresetBar::ShowPresets(const QString& current) {
    const QSignalBlocker quiet(choice_);
    choice_->clear();
    choice_->addItem(Tr(kNoneChosen));
    for (const Preset& preset : presets_.presets) {
        choice_->addItem(FromUtf8(preset.name));
    }
    const int found = current.isEmpty() ? -1 : choice_->findText(current);
    choice_->setCurrentIndex(found > 0 ? found : 0);
    std::vector<std::string_view> notes(presets_.notes.begin(), presets_.notes.end());
    choice_->setToolTip(FromUtf8(JoinTexts(notes, "\n")));
    delete_->setEnabled(choice_->currentIndex() > 0);
}

const Preset* CPresetBar::Picked() const {
    const int index = choice_->currentIndex();
    return index > 0 && static_cast<size_t>(index) <= presets_.presets.size()
               ? &presets_.presets[static_cast<size_t>(index - 1)]
               : nullptr;
}

void CPresetBar::OnPicked(int) {
    delete_->setEnabled(choice_->currentIndex() > 0);
    if (const Preset* preset = Picked()) {
        ApplyPreset(*preset, settings_);
        emit PresetApplied();
    }
}

void CPresetBar::OnSave() {
    bool accepted = false;
    const QString typed = QInputDialog::getText(this, Tr(kSaveCaption), Tr(kNamePrompt), QLineEdit::Normal,
                                                Picked() != nullptr ? choice_->currentText() : QString(), &accepted);
    const std::string name = std::string(TrimBlanks(typed.toStdString()));
    if (!accepted || name.empty()) {
        return;
    }
    if (const std::optional<std::string> problem = PresetNameProblem(name)) {
        QMessageBox::warning(this, Tr(kBadNameCaption), FromUtf8(*problem));
        return;
    }
    if (const Preset* existing = presets_.Find(name)) {
        const QString text = Tr(kOverwriteText).arg(FromUtf8(existing->name));
        if (QMessageBox::question(this, Tr(kOverwriteCaption), text, QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::No) != QMessageBox::Yes) {
            return;
        }
    }
    if (const Status stored = StorePreset(settings_.ProfilePath, PresetOf(name, settings_)); !stored) {
        QMessageBox::critical(this, Tr(kFailedCaption), FromUtf8(stored.error().message));
        return;
    }
    Reload();
    ShowPresets(FromUtf8(presets_.Find(name) != nullptr ? presets_.Find(name)->name : name));
}

void CPresetBar::OnDelete() {
    const Preset* preset = Picked();
    if (preset == nullptr) {
        return;
    }
    const std::string name = preset->name;
    if (QMessageBox::question(this, Tr(kDeleteCaption), Tr(kDeleteText).arg(FromUtf8(name)),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    if (const Status deleted = DeletePreset(settings_.ProfilePath, name); !deleted) {
        QMessageBox::critical(this, Tr(kFailedCaption), FromUtf8(deleted.error().message));
    }
    Reload();
    ShowPresets({});
}

}  // namespace pelimon
