// The main window's setting controls: folders, size presets, format, quality, defaults, the
// size and options dialogs, help.
#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStandardPaths>
#include <algorithm>

#include "common/text.h"
#include "controls/cimage_button_with_style.h"
#include "controls/confirm_dialogs.h"
#include "controls/widget_text.h"
#include "dialogs/coptmain.h"
#include "dialogs/csetsize.h"
#include "gui/batch_controller.h"
#include "gui/cpelimon_dlg.h"
#include "gui/cpelimon_dlg_texts.h"
#include "gui/file_list_model.h"
#include "gui/file_list_thumbnails.h"
#include "gui/help_page.h"
#include "gui/help_window.h"
#include "gui/output_preview_pane.h"
#include "settings/settings_file.h"

namespace pelimon {

namespace {

using namespace main_texts;

constexpr int kDefaultQuality = 90;

using widget_text::Text;
using widget_text::Tr;

// A chosen folder ends with '/', except the root, which already is one.
QString WithTrailingSlash(QString folder) {
    if (folder.size() > 1 && !folder.endsWith(QLatin1Char('/'))) {
        folder += QLatin1Char('/');
    }
    return folder;
}

}  // namespace

void CpelimonDlg::BrowseFolder(bool source) {
    QLineEdit* edit = source ? ui_.source : ui_.output;
    const QString chosen = QFileDialog::getExistingDirectory(this, Tr(source ? kBrowseSourceTitle : kBrowseOutputTitle),
                                                             edit->text(), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) {
        return;
    }
    if (source) {
        UseSourceFolder(WithTrailingSlash(chosen));
    } else {
        edit->setText(WithTrailingSlash(chosen));
    }
}

void CpelimonDlg::OnFolderMenuCommand(int command) {
    if (command == kCmdOutputSameAsSource) {
        ui_.output->setText(ui_.source->text());
        return;
    }
    QStandardPaths::StandardLocation location = QStandardPaths::DesktopLocation;
    if (command == kCmdOutputDocuments || command == kCmdSourceDocuments) {
        location = QStandardPaths::DocumentsLocation;
    } else if (command == kCmdOutputPictures || command == kCmdSourcePictures) {
        location = QStandardPaths::PicturesLocation;
    }
    // When the desktop cannot name the folder the edit keeps its text.
    const QString folder = QStandardPaths::writableLocation(location);
    if (folder.isEmpty()) {
        return;
    }
    if (command >= kCmdSourceDesktop) {
        UseSourceFolder(folder);
    } else {
        ui_.output->setText(folder);
    }
}

void CpelimonDlg::OnOutputTextChanged(const QString& text) {
    settings_.OutputPath = text.toStdString();
    RelistWhenOutputFolderMoved();
}

void CpelimonDlg::OnSizePreset(int base) {
    settings_.Base = base;
    previous_base_ = base;
    settings_.Width = base == kBase640x480 ? 640 : 480;
    settings_.Height = base == kBase640x480 ? 480 : 360;
    ShowSizeDescription();
}

void CpelimonDlg::OnSizeOther() {
    previous_base_ = settings_.Base;
    settings_.Base = kBaseCustom;
    RunSizeDialog();
}

void CpelimonDlg::RunSizeDialog() {
    CSetSize dialog(settings_, this);
    if (dialog.exec() == QDialog::Accepted) {
        // The dialog has stored the rule and its description (SizeString).
        previous_base_ = settings_.Base;
    } else {
        settings_.Base = previous_base_;
    }
    ShowSizeDescription();
    SetSizeRadiosFromBase();
}

// The summary is built from the rule's settings every time, in the window's language: the stored
// SizeString may come from a window in another language or from an older version. SizeString is
// still written (the rule without the target size, as older versions show it); it is shown as it
// is only for a rule the window cannot describe.
void CpelimonDlg::ShowSizeDescription() {
    model_->SizeSettingsChanged();
    if (settings_.Base == kBase640x480) {
        settings_.SizeString = Tr(kSize640Description).toStdString();
    } else if (settings_.Base == kBase480x360) {
        settings_.SizeString = Tr(kSize480Description).toStdString();
    } else if (settings_.Base == kBaseCustom) {
        if (const QString rule = SizeDescriptionText(LoadSizeWorkingCopy(settings_)); !rule.isEmpty()) {
            settings_.SizeString = rule.toStdString();
        }
    }
    const QString rule = QString::fromStdString(settings_.SizeString);
    // Both placeholders at once: a stored rule text may hold "%" signs of its own.
    ui_.size_description->setText(
        settings_.SetSize == kOn ? Tr(kSizeWithTargetFormat).arg(rule, QString::number(settings_.DataSize)) : rule);
}

void CpelimonDlg::SetSizeRadiosFromBase() {
    const int index = settings_.Base == kBase640x480   ? 0
                      : settings_.Base == kBase480x360 ? 1
                      : settings_.Base == kBaseCustom  ? 2
                                                       : -1;
    if (index >= 0) {
        ui_.size_radios[index]->setChecked(true);
    }
}

void CpelimonDlg::SetFormatRadiosFromFileType() {
    if (QAbstractButton* radio = ui_.format->button(settings_.FileType)) {
        radio->setChecked(true);
        return;
    }
    // A FileType the radios do not know: none is checked.
    ui_.format->setExclusive(false);
    for (QAbstractButton* radio : ui_.format->buttons()) {
        radio->setChecked(false);
    }
    ui_.format->setExclusive(true);
}

void CpelimonDlg::SetUpQualityControls() {
    settings_.JpegComp = std::clamp(settings_.JpegComp, 1, 100);
    {
        const QSignalBlocker quiet(ui_.quality);
        ui_.quality->setValue(settings_.JpegComp);
    }
    ui_.quality_text->setText(QString::number(settings_.JpegComp));
}

// Only the person's moves arrive here: the program moves the slider with its signals blocked.
void CpelimonDlg::OnQualitySlider(int position) {
    const int quality = position == 0 ? 1 : position;
    settings_.JpegComp = quality;
    ui_.quality_text->setText(QString::number(quality));
}

// The validator lets through only 1..100 or an empty box; an empty box changes nothing.
void CpelimonDlg::OnQualityText(const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    const int quality = std::clamp(LeadingInt(text.toStdString()), 1, 100);
    const QSignalBlocker quiet(ui_.quality);
    ui_.quality->setValue(quality);
    settings_.JpegComp = quality;
}

void CpelimonDlg::OnQualityReset() {
    settings_.JpegComp = kDefaultQuality;
    SetUpQualityControls();
}

void CpelimonDlg::OnDefaults() {
    if (settings_.DefConfirm == kAskAgain) {
        CDefConfirm question(settings_.DefConfirm, this);
        if (question.exec() != QDialog::Accepted) {
            settings_.DefConfirm = kAskAgain;
            return;
        }
    }
    if (batch_->running()) {
        batch_->SettingsReset();
    }
    if (const Status reset = ResetSettingsToDefaults(settings_); !reset) {
        QMessageBox::critical(this, Tr(kSettingsCaption), QString::fromStdString(reset.error().message));
    }
    previous_base_ = settings_.Base;
    ShowSettings();
    UseSourceFolder(QString::fromStdString(settings_.ImagePath));
}

void CpelimonDlg::ShowSettings() {
    SetSelectButtonCaption();
    {
        // Shown, not acted on: whoever changed Recurse lists the folder afterwards.
        const QSignalBlocker quiet(ui_.recurse);
        ui_.recurse->setChecked(settings_.Recurse == kOn);
    }
    thumbnails_->ShowSettingsView();
    output_pane_->ShowSettingsView();
    SetTypeBoxesFromImageType();
    SetSizeRadiosFromBase();
    ShowSizeDescription();
    SetFormatRadiosFromFileType();
    SetUpQualityControls();
    ui_.output->setText(QString::fromStdString(settings_.OutputPath));
    EnableOutputFolderFromResize();
}

void CpelimonDlg::OnOptions() {
    COptMain options(settings_, this);
    if (options.exec() == QDialog::Accepted) {
        EnableOutputFolderFromResize();
        model_->SizeSettingsChanged();
        RelistWhenOutputFolderMoved();
    }
}

void CpelimonDlg::OnHelp() {
    const QString page = FindHelpPage(QCoreApplication::applicationDirPath(), CurrentLanguage());
    if (page.isEmpty()) {
        QMessageBox::critical(this, Tr(kHelpCaption), Tr(kHelpMissingText));
        return;
    }
    OpenHelp(HelpUrl(page, Text(kMainWindowHelpAnchor)), this);
}

void CpelimonDlg::SetTypeBoxesFromImageType() {
    for (const TypeBox& type : ui_.type_boxes) {
        type.box->setChecked((settings_.ImageType & type.bit) != 0);
    }
}

void CpelimonDlg::SetSelectButtonCaption() {
    ui_.select_all->setText(Tr(settings_.Select == kSelectChecked ? kClearAll : kSelectAll));
}

// In Resize mode the output goes into a "resize" + date folder inside the source folder, so the
// output folder controls have nothing to say.
void CpelimonDlg::EnableOutputFolderFromResize() {
    ui_.output->setEnabled(settings_.Resize == kResizeUserFolder);
    ui_.output_button->setEnabled(settings_.Resize == kResizeUserFolder);
}

}  // namespace pelimon
