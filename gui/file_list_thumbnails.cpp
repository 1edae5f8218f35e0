#include "gui/file_list_thumbnails.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QListView>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "controls/widget_text.h"
#include "gui/cpelimon_dlg_texts.h"
#include "gui/file_list_model.h"
#include "gui/thumbnail_loader.h"

namespace pelimon {

using widget_text::Tr;

namespace {

// The table's thumbnails beside the names, and the grid's, in device-independent pixels.
constexpr int kRowThumbnailSide = 40;
constexpr int kGridThumbnailSide = 128;
// At most this many thumbnails are held (64 KB each) and made ahead: a longer list has those of
// the rows around the screen, and the others go as it scrolls away from them.
constexpr int kHeldThumbnails = 2000;

// The grid's names centred below their thumbnails (the table aligns them left).
class GridDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = Qt::AlignHCenter | Qt::AlignTop;
    }
};

// The normal cache size (128) serves both views unless the screen's pixels are finer than that.
ThumbnailSize CacheSizeFor(const QWidget& widget) {
    return kGridThumbnailSide * widget.devicePixelRatioF() > ThumbnailPixels(ThumbnailSize::kNormal)
               ? ThumbnailSize::kLarge
               : ThumbnailSize::kNormal;
}

}  // namespace

FileListThumbnails::FileListThumbnails(FileListModel& model, QTableView* table, AppSettings& settings, QWidget* parent)
    : QObject(parent),
      model_(model),
      settings_(settings),
      table_(table),
      grid_(new QListView(parent)),
      views_(new QStackedWidget(parent)),
      toggle_(new QToolButton(parent)),
      loader_(new ThumbnailLoader(CacheSizeFor(*parent), ThumbnailCacheRoot(), this)) {
    table_->setIconSize(QSize(kRowThumbnailSide, kRowThumbnailSide));
    table_->verticalHeader()->setDefaultSectionSize(
        std::max(table_->verticalHeader()->defaultSectionSize(), kRowThumbnailSide + 4));

    grid_->setObjectName("thumbnail_grid");
    grid_->setViewMode(QListView::IconMode);
    grid_->setModel(&model_);
    grid_->setSelectionModel(table_->selectionModel());
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setMovement(QListView::Static);
    grid_->setResizeMode(QListView::Adjust);
    grid_->setWrapping(true);
    grid_->setUniformItemSizes(true);  // no measuring of every item when thousands arrive
    grid_->setLayoutMode(QListView::Batched);
    grid_->setIconSize(QSize(kGridThumbnailSide, kGridThumbnailSide));
    grid_->setTextElideMode(Qt::ElideMiddle);
    grid_->setWordWrap(false);
    // Wide enough that the check box the style puts at the item's left stays clear of the
    // thumbnail centred above the name.
    const int check = grid_->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, grid_);
    const int line = QFontMetrics(grid_->font()).height();
    grid_->setGridSize(QSize(kGridThumbnailSide + 2 * (check + 4), kGridThumbnailSide + line + 16));
    grid_->setItemDelegate(new GridDelegate(grid_));

    views_->addWidget(table_);
    views_->addWidget(grid_);

    toggle_->setObjectName("id1060");
    toggle_->setText(Tr(main_texts::kThumbnailGrid));
    toggle_->setCheckable(true);
    toggle_->setChecked(settings_.ThumbnailGrid == kOn);
    views_->setCurrentWidget(toggle_->isChecked() ? static_cast<QWidget*>(grid_) : table_);
    connect(toggle_, &QToolButton::toggled, this, &FileListThumbnails::ShowGrid);

    connect(loader_, &ThumbnailLoader::Made, this,
            [this](const QString& path, const QImage& image, const QSize& source_size, bool stored_sideways, int row) {
                model_.SetThumbnail(path, image, source_size, stored_sideways, row);
            });
    connect(&model_, &QAbstractItemModel::modelReset, this, &FileListThumbnails::QueueWantedRows);
    connect(&model_, &QAbstractItemModel::layoutChanged, this, &FileListThumbnails::QueueWantedRows);
    connect(&model_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { OnRowsInserted(first, last); });
    WatchScrolling(table_);
    WatchScrolling(grid_);
}

FileListThumbnails::~FileListThumbnails() {
    Stop();
}

void FileListThumbnails::ShowSettingsView() {
    toggle_->setChecked(settings_.ThumbnailGrid == kOn);
}

void FileListThumbnails::Stop() {
    loader_->Cancel();
}

void FileListThumbnails::WatchScrolling(QAbstractItemView* view) {
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, &FileListThumbnails::TellVisibleRows);
    connect(view->verticalScrollBar(), &QScrollBar::rangeChanged, this, &FileListThumbnails::TellVisibleRows);
}

void FileListThumbnails::ShowGrid(bool grid) {
    settings_.ThumbnailGrid = grid ? kOn : kOff;
    QAbstractItemView* shown = grid ? static_cast<QAbstractItemView*>(grid_) : table_;
    views_->setCurrentWidget(shown);
    const QModelIndex current = table_->selectionModel()->currentIndex();
    if (current.isValid()) {
        shown->scrollTo(current);
    }
    TellVisibleRows();
}

FileListThumbnails::Rows FileListThumbnails::VisibleRows() const {
    const int rows = model_.rowCount();
    Rows visible{0, rows - 1};
    if (views_->currentWidget() == grid_) {
        const QRect area = grid_->viewport()->rect();
        const QModelIndex top_left = grid_->indexAt(area.topLeft() + QPoint(2, 2));
        const QSize cell = grid_->gridSize();
        const int columns = std::max(1, area.width() / std::max(1, cell.width()));
        const int lines = area.height() / std::max(1, cell.height()) + 1;
        visible.first = top_left.isValid() ? top_left.row() : 0;
        visible.last = std::min(rows - 1, visible.first + columns * lines - 1);
    } else {
        visible.first = std::max(0, table_->rowAt(0));
        const int bottom = table_->rowAt(table_->viewport()->height() - 1);
        visible.last = bottom < 0 ? rows - 1 : bottom;
    }
    return visible;
}

// Every row when the list is short enough; else the rows around those on screen.
void FileListThumbnails::QueueWantedRows() {
    const int rows = model_.rowCount();
    const Rows visible = VisibleRows();
    wanted_ = {0, rows - 1};
    if (rows > kHeldThumbnails) {
        const int centre = (visible.first + visible.last) / 2;
        wanted_.first = std::clamp(centre - kHeldThumbnails / 2, 0, rows - kHeldThumbnails);
        wanted_.last = wanted_.first + kHeldThumbnails - 1;
        model_.KeepThumbnailsOf(wanted_.first, wanted_.last);
    }
    std::vector<ThumbnailLoader::Job> jobs;
    for (int row = wanted_.first; row <= wanted_.last; ++row) {
        if (!model_.HasThumbnail(row)) {
            jobs.push_back({model_.PathOf(row).toStdString(), model_.PathOf(row), row});
        }
    }
    loader_->SetJobs(std::move(jobs));
    loader_->SetVisibleRows(visible.first, visible.last);
}

void FileListThumbnails::OnRowsInserted(int first, int last) {
    if (model_.rowCount() > kHeldThumbnails) {
        // The rows wanted may now reach further; a full set stays as it is.
        if (wanted_.last - wanted_.first + 1 < kHeldThumbnails) {
            QueueWantedRows();
        }
        return;
    }
    wanted_ = {0, model_.rowCount() - 1};
    std::vector<ThumbnailLoader::Job> jobs;
    for (int row = first; row <= last; ++row) {
        if (!model_.HasThumbnail(row)) {
            jobs.push_back({model_.PathOf(row).toStdString(), model_.PathOf(row), row});
        }
    }
    loader_->AddJobs(std::move(jobs));
}

void FileListThumbnails::TellVisibleRows() {
    const int rows = model_.rowCount();
    if (rows == 0) {
        return;
    }
    const Rows visible = VisibleRows();
    loader_->SetVisibleRows(visible.first, visible.last);
    // Scrolled near the edge of the rows held: hold those around the screen instead.
    const int margin = kHeldThumbnails / 4;
    if (rows > kHeldThumbnails && ((wanted_.first > 0 && visible.first < wanted_.first + margin) ||
                                   (wanted_.last < rows - 1 && visible.last > wanted_.last - margin))) {
        QueueWantedRows();
    }
}

}  // namespace pelimon
