// The main window's output preview and the estimate of the run's size: every control that changes
// a setting the output depends on, the current row and the check marks refresh them. The slots
// are connected after the controls' own, so they see the settings already changed.
#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableView>

#include "controls/cimage_button_with_style.h"
#include "gui/cpelimon_dlg.h"
#include "gui/file_list_model.h"
#include "gui/output_estimate_label.h"
#include "gui/output_preview_pane.h"

namespace pelimon {

void CpelimonDlg::ConnectOutputPreview() {
    const auto both = [this] {
        RefreshOutputPreview();
        RefreshOutputEstimate();
    };
    connect(ui_.format, &QButtonGroup::idClicked, this, both);
    connect(ui_.rotation, &QButtonGroup::idClicked, this, both);
    connect(ui_.quality, &QSlider::valueChanged, this, both);
    connect(ui_.quality_text, &QLineEdit::textChanged, this, both);
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
             ui_.size_radios[0], ui_.size_radios[1], ui_.size_radios[2], ui_.size_set, ui_.rotation_reset,
             ui_.quality_reset, ui_.defaults, ui_.options}) {
        connect(button, &QAbstractButton::clicked, this, both);
    }
    connect(ui_.list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CpelimonDlg::RefreshOutputPreview);
    connect(model_.get(), &FileListModel::CheckMarksChanged, this, &CpelimonDlg::RefreshOutputEstimate);
    connect(model_.get(), &QAbstractItemModel::modelReset, this, &CpelimonDlg::RefreshOutputEstimate);
    connect(model_.get(), &QAbstractItemModel::rowsInserted, this, &CpelimonDlg::RefreshOutputEstimate);
    connect(model_.get(), &QAbstractItemModel::rowsRemoved, this, &CpelimonDlg::RefreshOutputEstimate);
}

void CpelimonDlg::RefreshOutputPreview() {
    const int row = CurrentRow();
    if (row < 0) {
        output_pane_->Refresh(std::nullopt);
        return;
    }
    output_pane_->Refresh(sources_.list().rows()[static_cast<size_t>(row)]);
}

void CpelimonDlg::RefreshOutputEstimate() {
    estimate_->Refresh(sources_.list());
}

}  // namespace pelimon
