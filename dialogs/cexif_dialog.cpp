#include "dialogs/cexif_dialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "controls/clistctrl_styled.h"
#include "controls/widget_text.h"
#include "dialogs/cexif_dialog_texts.h"
#include "exif/exif_reader.h"

namespace t = pelimon::exif_dialog_texts;

namespace {

using pelimon::widget_text::Text;
using pelimon::widget_text::Tr;

constexpr pelimon::ColorRef kGroupBackground = pelimon::Rgb(240, 240, 170);

pelimon::ExifDirectories Read(const std::string& path) {
    pelimon::CExifReader reader;
    reader.LoadTagTable();
    reader.SetFileName(path);
    if ((reader.CheckJpeg() & 2) == 0) {
        return {};
    }
    return pelimon::ReadExifDirectories(reader);
}

}  // namespace

CExifDialog::CExifDialog(const std::string& path, QWidget* parent)
    : QDialog(parent), rows_(pelimon::BuildExifRows(Read(path))) {
    setWindowTitle(Tr(t::kTitle));
    BuildLayout();
    Fill();
}

CExifDialog::~CExifDialog() = default;

void CExifDialog::BuildLayout() {
    list_ = new CListCtrlStyled(this);
    list_->setObjectName(QStringLiteral("id1006"));
    list_->setShowGrid(true);
    auto* copy = new QPushButton(Tr(t::kCopy), this);
    copy->setObjectName(QStringLiteral("id1036"));
    copy->setAutoDefault(false);
    auto* ok = new QPushButton(Text(t::kOk), this);
    ok->setObjectName(QStringLiteral("id1"));
    ok->setDefault(true);
    connect(copy, &QPushButton::clicked, this, &CExifDialog::CopyToClipboard);
    connect(ok, &QPushButton::clicked, this, &CExifDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copy);
    buttons->addSpacing(24);
    buttons->addWidget(ok);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    resize(600, 440);

    // The widths are set to the contents once the dialog is shown (showEvent).
    list_->InsertColumn(0, Tr(t::kNameColumn), 0);
    list_->InsertColumn(1, Tr(t::kValueColumn), 0);
}

void CExifDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!columns_sized_) {
        columns_sized_ = true;
        SizeColumnsToContents();
    }
}

// The name column as wide as its longest name (at most 60% of the list), the value column as wide
// as its longest value and at least the rest of the list; the person may resize them afterwards.
void CExifDialog::SizeColumnsToContents() {
    const int width = list_->viewport()->width();
    list_->resizeColumnToContents(0);
    list_->setColumnWidth(0, std::min(list_->columnWidth(0), width * 3 / 5));
    list_->resizeColumnToContents(1);
    list_->setColumnWidth(1, std::max(list_->columnWidth(1), width - list_->columnWidth(0)));
}

void CExifDialog::Fill() {
    list_->DeleteAllItems();
    for (const pelimon::ExifListRow& row : rows_) {
        const int index = list_->InsertItem(list_->GetItemCount(), QString::fromStdString(row.name));
        list_->SetItemText(index, 1, QString::fromStdString(row.value));
        if (row.group) {
            list_->SetItemBgColor(index, kGroupBackground, false);
            list_->SetItemStyle(index, pelimon::kStyleBackgroundColor, false);
        }
    }
    list_->viewport()->update();
}

std::string CExifDialog::ClipboardText() const {
    return pelimon::FormatExifClipboard(rows_);
}

void CExifDialog::CopyToClipboard() {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(QString::fromStdString(ClipboardText()));
    }
}

void ShowExifInformation(const std::string& path, QWidget* parent) {
    pelimon::CExifReader reader;
    reader.SetFileName(path);
    if (const char* message = pelimon::ExifButtonMessage(reader.CheckJpeg())) {
        QMessageBox::information(parent, Tr(t::kMessageCaption), Text(message));
        return;
    }
    CExifDialog dialog(path, parent);
    dialog.exec();
}
