// The main window's file list: the source folder box, the type boxes, check marks and the count
// label, rotations, sorting, the current row and its preview, drops.
#include <QButtonGroup>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QUrl>
#include <filesystem>
#include <utility>

#include "controls/confirm_dialogs.h"
#include "controls/controls_texts.h"
#include "controls/cpreview.h"
#include "controls/preview_loader.h"
#include "controls/widget_text.h"
#include "dialogs/cexif_dialog.h"
#include "filelist/file_type.h"
#include "filelist/filelist_texts.h"
#include "gui/batch_controller.h"
#include "gui/cpelimon_dlg.h"
#include "gui/cpelimon_dlg_texts.h"
#include "gui/file_list_model.h"
#include "gui/tree_listing.h"

namespace pelimon {

using widget_text::Tr;

namespace {

std::vector<std::string> LocalPaths(const QMimeData* mime) {
    std::vector<std::string> paths;
    if (mime == nullptr) {
        return paths;
    }
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(url.toLocalFile().toStdString());
        }
    }
    return paths;
}

}  // namespace

void CpelimonDlg::OnSourceTextChanged(const QString& text) {
    Relist([&] { sources_.SetFolderText(text.toStdString(), settings_); });
    ClearPreview();
    ShowFileCount();
}

void CpelimonDlg::OnRecurseToggled(bool recurse) {
    if (recurse == (settings_.Recurse == kOn)) {
        return;
    }
    settings_.Recurse = recurse ? kOn : kOff;
    if (recurse) {
        ListSubfoldersInBackground();  // the rows listed stay as they are
    } else {
        tree_listing_->Stop();
        model_->Rebuild([&] { sources_.DropSubfolderRows(); });
        ClearPreview();
    }
    EnableRunWhenListed();
    ShowFileCount();
}

void CpelimonDlg::Relist(const std::function<void()>& change) {
    tree_listing_->Stop();
    run_when_listed_ = false;
    // The folder's own files now, at once; its subfolders follow in the background.
    const int32_t recurse = settings_.Recurse;
    settings_.Recurse = kOff;
    model_->Rebuild(change);
    settings_.Recurse = recurse;
    ListSubfoldersInBackground();
}

void CpelimonDlg::ListSubfoldersInBackground() {
    const std::string& folder = sources_.folder_text();
    if (settings_.Recurse == kOn && !sources_.single_file_mode() && !folder.empty()) {
        listed_skip_ = OutputFolderInside(folder, settings_);
        tree_listing_->Start(folder, listed_skip_);
    }
    EnableRunWhenListed();
}

void CpelimonDlg::RelistWhenOutputFolderMoved() {
    const std::string& folder = sources_.folder_text();
    if (settings_.Recurse != kOn || sources_.single_file_mode() || folder.empty()) {
        return;
    }
    const std::string skip = OutputFolderInside(folder, settings_);
    if (skip == listed_skip_) {
        return;
    }
    // While a name is typed most of its steps name no folder: nothing listed changes then, and the
    // rows keep their check marks.
    std::error_code error;
    bool affected =
        tree_listing_->running() || (!listed_skip_.empty() && std::filesystem::is_directory(listed_skip_, error));
    const std::string base = settings_.ImagePath;
    for (const FileRow& row : sources_.list().rows()) {
        if (affected || skip.empty()) {
            break;
        }
        affected = row.folder.empty() && (base + row.name).starts_with(skip);
    }
    listed_skip_ = skip;
    if (affected) {
        Relist([&] { sources_.SetFolderText(folder, settings_); });
        ClearPreview();
        ShowFileCount();
    }
}

void CpelimonDlg::OnSubfoldersListed(const FolderTree& part) {
    model_->AppendListedPart(part, settings_);
    ShowFileCount();
}

void CpelimonDlg::OnListingFinished() {
    EnableRunWhenListed();
    ShowFileCount();
    if (std::exchange(run_when_listed_, false) && !batch_->running()) {
        CheckAllWhenSelectIsOff();
        StartBatch();
    }
}

// A run takes the list as it stands, so it waits until a tree is listed whole.
void CpelimonDlg::EnableRunWhenListed() {
    ui_.run->setEnabled(!batch_->running() && !tree_listing_->running());
}

void CpelimonDlg::UseSourceFolder(const QString& folder) {
    Relist([&] { sources_.UseFolder(folder.toStdString(), settings_); });
    ShowSourceFolderText();
    ClearPreview();
    ShowFileCount();
}

// The box shows the list's folder; setting it here must not list the folder a second time.
void CpelimonDlg::ShowSourceFolderText() {
    const QSignalBlocker quiet(ui_.source);
    ui_.source->setText(QString::fromStdString(sources_.folder_text()));
}

void CpelimonDlg::OnTypeBoxClicked(int bit, QCheckBox* box, bool checked) {
    if (settings_.Confirm == kAskAgain) {
        CConfirm question(settings_.Confirm, this);
        if (question.exec() != QDialog::Accepted) {
            settings_.Confirm = kAskAgain;
            box->setChecked(!checked);
            return;
        }
    }
    const int filter = checked ? (settings_.ImageType | bit) : (settings_.ImageType & ~bit);
    Relist([&] { sources_.ChangeTypeFilter(filter, settings_); });
    ClearPreview();
    ShowFileCount();
}

void CpelimonDlg::OnSelectAll() {
    model_->ToggleSelectAll(settings_);
    SetSelectButtonCaption();
    ShowFileCount();
}

void CpelimonDlg::CheckAllWhenSelectIsOff() {
    if (settings_.Select == kSelectUnchecked) {
        OnSelectAll();
    }
}

void CpelimonDlg::OnRotation(int degrees) {
    QList<int> rows;
    for (const QModelIndex& index : ui_.list->selectionModel()->selectedRows()) {
        rows.append(index.row());
    }
    model_->SetRotation(rows, degrees);
    if (rows.contains(CurrentRow())) {
        UpdatePreview();
    }
}

void CpelimonDlg::OnRotationReset() {
    model_->ResetRotations();
    if (CurrentRow() >= 0) {
        UpdatePreview();
        SetRotationRadiosFromCurrent();
    }
}

void CpelimonDlg::SetRotationRadiosFromCurrent() {
    const int row = CurrentRow();
    const int degrees = row >= 0 ? sources_.list().rows()[static_cast<size_t>(row)].rotation : -1;
    ui_.rotation->setExclusive(false);
    for (QAbstractButton* radio : ui_.rotation->buttons()) {
        radio->setChecked(ui_.rotation->id(radio) == degrees);
    }
    ui_.rotation->setExclusive(true);
}

// A click on the sort column flips the direction; a click on another column sorts by it in
// descending order first.
void CpelimonDlg::OnHeaderClicked(int column) {
    if (column == sort_column_) {
        sort_order_ = sort_order_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    } else {
        sort_column_ = column;
        sort_order_ = Qt::DescendingOrder;
    }
    // The header flipped its own indicator before telling us; ours is the one that counts.
    ui_.list->horizontalHeader()->setSortIndicator(sort_column_, sort_order_);
    model_->sort(sort_column_, sort_order_);
}

void CpelimonDlg::OnCurrentRowChanged() {
    SetRotationRadiosFromCurrent();
    UpdatePreview();
}

void CpelimonDlg::UpdatePreview() {
    const int row = CurrentRow();
    if (row < 0) {
        return;
    }
    const FileRow& file = sources_.list().rows()[static_cast<size_t>(row)];
    if (FileTypeOfName(file.file_name()) == 0) {
        preview_loader_->Cancel();
        ui_.preview->DrawNotice(Tr(controls_texts::kNotAnImage));
        return;
    }
    const qreal scale = ui_.preview->devicePixelRatioF();
    PreviewRequest request;
    request.path = CurrentPath();
    request.rotation = file.rotation;
    request.auto_rotate = settings_.AutoRotate == kOn;
    request.min_size = (QSizeF(ui_.preview->size()) * scale).toSize();
    preview_loader_->Request(request);
}

void CpelimonDlg::OnPreviewLoaded(const PreviewResult& result) {
    if (result.image.isNull()) {
        ui_.preview->DrawNotice(result.error);
        ui_.resolution->clear();
        ui_.colours->clear();
        ui_.exif->setEnabled(false);
        return;
    }
    ui_.preview->DrawImage(result.image);
    ui_.resolution->setText(
        Tr(main_texts::kResolutionFormat).arg(result.full_size.width()).arg(result.full_size.height()));
    ui_.colours->clear();
    ui_.exif->setEnabled(result.has_exif);
}

void CpelimonDlg::OnColoursCounted(quint32 colours) {
    ui_.colours->setText(Tr(main_texts::kColoursFormat).arg(colours));
}

void CpelimonDlg::ClearPreview() {
    preview_loader_->Cancel();
    ui_.preview->EraseImage();
    ui_.resolution->clear();
    ui_.colours->clear();
    ui_.exif->setEnabled(false);
}

void CpelimonDlg::ShowFileCount() {
    QString count = QString::fromStdString(sources_.FileCountText());
    if (tree_listing_->running()) {
        count += Tr(main_texts::kListingSubfolders);
    }
    ui_.count->setText(count);
    ShowListNotice();
    ShowUnreadableFolders();
}

void CpelimonDlg::ShowUnreadableFolders() {
    QStringList lines;
    for (const std::string& folder : sources_.unreadable_folders()) {
        lines.append(QString::fromStdString(folder) + QStringLiteral(": ") + Tr(filelist_texts::kUnreadableFolder));
    }
    unreadable_notice_->setText(lines.join(QLatin1Char('\n')));
    unreadable_notice_->setVisible(!lines.isEmpty());
}

void CpelimonDlg::ShowListNotice() {
    const QString folder = QString::fromStdString(sources_.folder_text());
    const bool missing = !folder.isEmpty() && !QFileInfo(folder).isDir();
    list_notice_->setText(missing ? Tr(main_texts::kFolderMissingFormat).arg(folder) : QString());
    list_notice_->setVisible(missing);
}

void CpelimonDlg::OpenExifDialog() {
    const QString path = CurrentPath();
    if (path.isEmpty()) {
        return;
    }
    ShowExifInformation(path.toStdString(), this);
}

int CpelimonDlg::CurrentRow() const {
    const QModelIndex current = ui_.list->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

QString CpelimonDlg::CurrentPath() const {
    const int row = CurrentRow();
    if (row < 0) {
        return {};
    }
    return QString::fromStdString(settings_.ImagePath + sources_.list().rows()[static_cast<size_t>(row)].name);
}

void CpelimonDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (!batch_->running() && !LocalPaths(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void CpelimonDlg::dropEvent(QDropEvent* event) {
    const std::vector<std::string> paths = LocalPaths(event->mimeData());
    if (batch_->running() || paths.empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    HandleDroppedPaths(paths);
}

void CpelimonDlg::HandleDroppedPaths(const std::vector<std::string>& paths) {
    if (batch_->running()) {
        return;
    }
    Relist([&] { sources_.ReplaceWithPaths(paths, settings_); });
    ShowSourceFolderText();
    ClearPreview();
    ShowFileCount();
    if (settings_.DragDrop == kOn) {
        // A tree still being listed runs once it is all there.
        run_when_listed_ = tree_listing_->running();
        if (!run_when_listed_) {
            CheckAllWhenSelectIsOff();
            StartBatch();
        }
    }
}

}  // namespace pelimon
