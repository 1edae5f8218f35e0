// CExifDialog: the modal Exif information dialog. It lists every Exif entry of one JPEG file in
// two columns (name, value), grouped by IFD with coloured group rows, and copies the list as
// plain text to the clipboard.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "exif/exif_list_rows.h"

class CListCtrlStyled;

class CExifDialog : public QDialog {
    Q_OBJECT

  public:
    // Reads the Exif data of the file at `path` (UTF-8). A file without Exif data shows only the
    // empty group rows; callers normally check first (see ShowExifInformation).
    explicit CExifDialog(const std::string& path, QWidget* parent = nullptr);
    ~CExifDialog() override;

    // The text the clipboard button copies.
    std::string ClipboardText() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildLayout();
    void SizeColumnsToContents();
    void Fill();
    void CopyToClipboard();

    std::vector<pelimon::ExifListRow> rows_;
    CListCtrlStyled* list_ = nullptr;  // 1006
    bool columns_sized_ = false;
};

// The Exif button of the main window: shows the dialog for the file at `path` when it is a JPEG
// with Exif data, otherwise a message saying why not. Returns when the dialog or message closes.
void ShowExifInformation(const std::string& path, QWidget* parent);
