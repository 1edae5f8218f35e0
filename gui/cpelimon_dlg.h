// CpelimonDlg: the program's main window. Every everyday setting is a control that writes its
// change straight into the settings record; the source folder's files are listed with check
// marks; 実行 reduces the checked files on a worker thread. Enter and Escape never close it;
// 終了 and the close box do (the caller saves the settings afterwards).
//
// The implementation is split by concern: cpelimon_dlg.cpp builds the controls and lays them
// out, cpelimon_dlg_settings.cpp handles the setting controls, cpelimon_dlg_list.cpp the file
// list, its preview and drops, cpelimon_dlg_batch.cpp batches and the command line.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/command_line.h"
#include "filelist/source_list.h"
#include "settings/app_settings.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTableView;

namespace pelimon {

class BatchController;
class CFolderMenuButton;
class CImageButtonWithStyle;
class CPreview;
class FileListModel;
class FileListThumbnails;
class PreviewLoader;
class TreeListing;
struct PreviewResult;

class CpelimonDlg : public QWidget {
    Q_OBJECT
  public:
    // `settings` must outlive the window.
    explicit CpelimonDlg(AppSettings& settings, QWidget* parent = nullptr);
    ~CpelimonDlg() override;

    // The command line's part of the start-up, once, after the window is shown: lists the named
    // paths or the parameter file's names and runs the batch when asked (waiting for its end).
    // True when the program should end now (an unattended run, or DragDrop 1).
    bool HandleCommandLine(const CommandLine& command_line);

    // Drops and command lines of paths: the list becomes these paths; with DragDrop 1 every file
    // is checked (when Select is 0) and the batch starts. Ignored while a batch runs.
    void HandleDroppedPaths(const std::vector<std::string>& paths);

    // Starts the batch over the checked files, as 実行 does. False while another run lasts.
    bool StartBatch();

    SourceList& sources() { return sources_; }
    BatchController& batch() { return *batch_; }
    PreviewLoader& preview_loader() { return *preview_loader_; }
    bool quiet_run() const { return quiet_run_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // A 対象画像 box and the ImageType bit it stands for.
    struct TypeBox {
        int32_t bit = 0;
        QCheckBox* box = nullptr;
    };

    // Construction and layout (cpelimon_dlg.cpp).
    QWidget* BuildSourcePart();
    QWidget* BuildPreviewPart();
    QWidget* BuildOutputPart();
    QWidget* BuildSizeGroup();
    QWidget* BuildRotationGroup();
    QWidget* BuildFormatGroup();
    QWidget* BuildQualityGroup();
    QWidget* BuildButtonColumn();
    void ConnectControls();
    void InitialiseFromSettings();

    // Setting controls (cpelimon_dlg_settings.cpp).
    void BrowseFolder(bool source);
    void OnFolderMenuCommand(int command);
    void OnOutputTextChanged(const QString& text);
    void OnSizePreset(int base);
    void OnSizeOther();
    void RunSizeDialog();
    void ShowSizeDescription();
    void SetSizeRadiosFromBase();
    void SetFormatRadiosFromFileType();
    void SetUpQualityControls();
    void OnQualitySlider(int position);
    void OnQualityText(const QString& text);
    void OnQualityReset();
    void OnDefaults();
    void OnOptions();
    void OnHelp();
    void OpenAboutBox();
    void SetTypeBoxesFromImageType();
    void SetSelectButtonCaption();
    // Every setting control from the settings record (start-up, Defaults, a parameter file).
    void ShowSettings();
    void EnableOutputFolderFromResize();

    // The file list and the preview (cpelimon_dlg_list.cpp).
    void OnSourceTextChanged(const QString& text);
    void OnRecurseToggled(bool recurse);
    // Runs a change that lists the source folder: its own files at once, then (Recurse on) its
    // subfolders in the background, their rows arriving as they are read.
    void Relist(const std::function<void()>& change);
    void ListSubfoldersInBackground();
    // The output folder moved (its box, the options): a tree listed without the old one, or with
    // files of the new one, is listed again so that outputs never count as sources.
    void RelistWhenOutputFolderMoved();
    void OnSubfoldersListed(const FolderTree& part);
    void OnListingFinished();
    void EnableRunWhenListed();
    void UseSourceFolder(const QString& folder);
    void ShowSourceFolderText();
    void OnTypeBoxClicked(int bit, QCheckBox* box, bool checked);
    void OnSelectAll();
    void OnRotation(int degrees);
    void OnRotationReset();
    void SetRotationRadiosFromCurrent();
    void OnHeaderClicked(int column);
    void OnCurrentRowChanged();
    void UpdatePreview();
    void OnPreviewLoaded(const PreviewResult& result);
    void OnColoursCounted(quint32 colours);
    void ClearPreview();
    void ShowFileCount();
    void ShowUnreadableFolders();
    void ShowListNotice();
    void OpenExifDialog();
    int CurrentRow() const;
    QString CurrentPath() const;

    // Batches (cpelimon_dlg_batch.cpp).
    void OnBatchRunningChanged(bool running);
    void OnBatchFinished();
    void CheckAllWhenSelectIsOff();

    struct Controls {
        QLineEdit* source = nullptr;                     // 1004
        CFolderMenuButton* source_button = nullptr;      // 1005
        QCheckBox* recurse = nullptr;                    // 1050
        QLabel* count = nullptr;                         // 1046
        QPushButton* exif = nullptr;                     // 1030
        QPushButton* select_all = nullptr;               // 1025
        QTableView* list = nullptr;                      // 1006
        CPreview* preview = nullptr;                     // 1021
        QLabel* worker = nullptr;                        // 1022
        QLineEdit* resolution = nullptr;                 // 1027
        QLineEdit* colours = nullptr;                    // 1028
        std::vector<TypeBox> type_boxes;                 // one per format table bit, in bit order: 1007, 1008, ...
        QLineEdit* output = nullptr;                     // 1023
        CFolderMenuButton* output_button = nullptr;      // 1024
        QRadioButton* size_radios[3] = {};               // 1010, 1011, 1012
        QLabel* size_description = nullptr;              // 1014
        QPushButton* size_set = nullptr;                 // 1015
        QButtonGroup* rotation = nullptr;                // 1033..1036, ids are the degrees
        QPushButton* rotation_reset = nullptr;           // 1037
        QButtonGroup* format = nullptr;                  // 1016, then each written format's; ids are FileType values
        QSlider* quality = nullptr;                      // 1002
        QLineEdit* quality_text = nullptr;               // 1020
        CImageButtonWithStyle* quality_reset = nullptr;  // 1026
        QPushButton* defaults = nullptr;                 // 1013
        QPushButton* options = nullptr;                  // 1003
        QPushButton* run = nullptr;                      // 1001
        QPushButton* help = nullptr;                     // 1000
        QPushButton* quit = nullptr;                     // 1031
    };

    AppSettings& settings_;
    SourceList sources_;
    int previous_base_;
    bool quiet_run_ = false;
    bool close_when_batch_ends_ = false;
    bool fitted_to_screen_ = false;
    int sort_column_ = 0;
    Qt::SortOrder sort_order_ = Qt::AscendingOrder;
    Controls ui_;
    QLabel* list_notice_ = nullptr;
    // Below the list: the subfolders that the listing of a tree could not read.
    QLabel* unreadable_notice_ = nullptr;
    TreeListing* tree_listing_ = nullptr;
    std::string listed_skip_;  // the output folder the last tree listing left out
    FileListThumbnails* thumbnails_ = nullptr;
    bool run_when_listed_ = false;  // a drop that runs at once waits for its tree
    // Owned here, not by Qt: it reads sources_, so it must go before sources_ does (members are
    // destroyed before the children).
    std::unique_ptr<FileListModel> model_;
    PreviewLoader* preview_loader_ = nullptr;
    BatchController* batch_ = nullptr;
};

}  // namespace pelimon
