#include "gui/cpelimon_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "common/list_text.h"
#include "controls/cabout_dlg.h"
#include "controls/cimage_button_with_style.h"
#include "controls/cpreview.h"
#include "controls/preview_loader.h"
#include "controls/resources.h"
#include "controls/screen_fit.h"
#include "controls/widget_text.h"
#include "gui/batch_controller.h"
#include "gui/cpelimon_dlg_texts.h"
#include "gui/file_list_model.h"
#include "gui/file_list_thumbnails.h"
#include "gui/preset_bar.h"
#include "gui/tree_listing.h"
#include "imagelib/format_table.h"

namespace pelimon {

namespace {

// The height the style gives an item of one line of text with a check indicator.
int OneLineRowHeight(const QTableView& view) {
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasCheckIndicator;
    option.text = QStringLiteral("Ag");
    option.font = view.font();
    option.fontMetrics = view.fontMetrics();
    return view.style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), &view).height();
}

using namespace main_texts;

// The preview pane's frame: 4:3, as photos mostly are.
constexpr QSize kPreviewFrame(200, 150);
constexpr int kWorkerIconSize = 16;
constexpr int kQualityEditWidth = 48;
// The most type boxes and output choices a row holds; more go onto further rows of equal length.
constexpr size_t kTypeBoxesPerRow = 6;
constexpr size_t kOutputChoicesPerRow = 7;

using widget_text::Named;
using widget_text::Text;
using widget_text::Tr;

QPushButton* PlainButton(const QString& text, int id, QWidget* parent) {
    auto* button = Named(new QPushButton(text, parent), id);
    // No button of the main window is a default button: Enter must not press one.
    button->setAutoDefault(false);
    return button;
}

// Lays `widgets` out in as few rows of at most `most_per_row` as they need, the rows as even as
// they can be, with the space left over at the right.
void LayInRows(const std::vector<QWidget*>& widgets, size_t most_per_row, QGridLayout* grid) {
    const size_t rows = std::max<size_t>(1, (widgets.size() + most_per_row - 1) / most_per_row);
    const size_t per_row = (widgets.size() + rows - 1) / rows;
    for (size_t i = 0; i < widgets.size(); ++i) {
        grid->addWidget(widgets[i], static_cast<int>(i / per_row), static_cast<int>(i % per_row));
    }
    grid->setColumnStretch(static_cast<int>(per_row), 1);
}

}  // namespace

CpelimonDlg::CpelimonDlg(AppSettings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(settings), previous_base_(settings.Base) {
    setObjectName("id102");
    setWindowTitle(Tr(kTitle));
    setWindowIcon(ProgramIcon());
    setAcceptDrops(true);

    model_ = std::make_unique<FileListModel>(sources_, settings_);
    preview_loader_ = new PreviewLoader(this);
    batch_ = new BatchController(this, settings_);
    tree_listing_ = new TreeListing(this);
    connect(tree_listing_, &TreeListing::PartListed, this, &CpelimonDlg::OnSubfoldersListed);
    connect(tree_listing_, &TreeListing::Finished, this, &CpelimonDlg::OnListingFinished);

    auto* left = new QVBoxLayout;
    left->addWidget(BuildSourcePart(), 1);
    left->addWidget(BuildOutputPart());
    auto* right = new QVBoxLayout;
    right->addWidget(BuildPreviewPart(), 1);  // the preview grows with the window
    auto* type_group = new QGroupBox(Tr(kTypeGroup));
    std::vector<QWidget*> type_widgets;
    for (const FormatRow* format : FormatsInCodeOrder(&FormatCodes::image_type)) {
        if (format->type_box_caption.empty()) {
            continue;  // listed under the box of an earlier format with the same bit
        }
        QCheckBox* box = Named(new QCheckBox(Text(format->type_box_caption), type_group), format->window.type_box);
        ui_.type_boxes.push_back({format->codes.image_type, box});
        type_widgets.push_back(box);
    }
    LayInRows(type_widgets, kTypeBoxesPerRow, new QGridLayout(type_group));
    right->addWidget(type_group);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 3);
    top->addLayout(right, 2);

    auto* settings_row = new QGridLayout;
    settings_row->addWidget(BuildSizeGroup(), 0, 0);
    settings_row->addWidget(BuildRotationGroup(), 0, 1);
    settings_row->addWidget(BuildFormatGroup(), 1, 0);
    settings_row->addWidget(BuildQualityGroup(), 1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(settings_row, 1);
    bottom->addWidget(BuildButtonColumn());

    // Everything sits in a scroll area, so that the window fits small or highly scaled screens:
    // below its natural size the controls scroll.
    auto* page = new QWidget;
    auto* page_layout = new QVBoxLayout(page);
    page_layout->addLayout(top, 1);
    auto* preset_bar = new CPresetBar(settings_, page);
    connect(preset_bar, &CPresetBar::PresetApplied, this, &CpelimonDlg::ShowSettings);
    page_layout->addWidget(preset_bar);
    page_layout->addLayout(bottom);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new FittingScrollArea(page, this));

    ConnectControls();
    InitialiseFromSettings();
}

// Children are deleted by QWidget's destructor, after the members; the view lets go of the model
// (a member) before the members go.
CpelimonDlg::~CpelimonDlg() {
    // Closing moves the focus, and a quality box that loses it would call back into this object.
    ui_.quality_text->disconnect(this);
    ui_.list->removeEventFilter(this);
    preview_loader_->Cancel();
    tree_listing_->Stop();
    thumbnails_->Stop();
    thumbnails_->grid()->setModel(nullptr);
    ui_.list->setModel(nullptr);
}

QWidget* CpelimonDlg::BuildSourcePart() {
    auto* part = new QWidget(this);
    ui_.source = Named(new QLineEdit(part), 1004);
    ui_.source_button = Named(new CXPSrc(FolderIcon(), part), 1005);
    ui_.recurse = Named(new QCheckBox(Tr(kRecurse), part), 1050);
    ui_.count = Named(new QLabel(Tr(kCountInitial), part), 1046);
    ui_.exif = PlainButton(Text(kExif), 1030, part);
    ui_.exif->setEnabled(false);
    ui_.select_all = PlainButton(Tr(kSelectAll), 1025, part);

    ui_.list = Named(new QTableView(part), 1006);
    ui_.list->setModel(model_.get());
    ui_.list->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui_.list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ui_.list->setShowGrid(true);
    ui_.list->setWordWrap(false);
    ui_.list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the next control; the arrow keys move within it.
    ui_.list->setTabKeyNavigation(false);
    ui_.list->installEventFilter(this);
    ui_.list->verticalHeader()->hide();
    // Every row is one line with a check box: one fixed height, as the style draws such an item.
    // (Measuring each row's contents would cost a pass over the whole list at every append.)
    ui_.list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui_.list->verticalHeader()->setDefaultSectionSize(OneLineRowHeight(*ui_.list));
    // Said in the list's place when the source folder does not exist.
    list_notice_ = new QLabel(ui_.list->viewport());
    list_notice_->setObjectName("list_notice");
    list_notice_->setAlignment(Qt::AlignCenter);
    list_notice_->setWordWrap(true);
    list_notice_->setEnabled(false);
    list_notice_->hide();
    auto* notice_layout = new QVBoxLayout(ui_.list->viewport());
    notice_layout->addWidget(list_notice_);
    QHeaderView* header = ui_.list->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(sort_column_, sort_order_);
    header->setSectionResizeMode(FileListModel::kNameColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(FileListModel::kSizeColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(FileListModel::kRotationColumn, QHeaderView::ResizeToContents);
    // The pixel sizes fill in as the thumbnails come: a width of their own, so that the columns
    // do not jump while they do.
    for (const int column : {FileListModel::kPixelSizeColumn, FileListModel::kOutputSizeColumn}) {
        const QFontMetrics metrics(header->font());
        const int heading = metrics.horizontalAdvance(model_->headerData(column, Qt::Horizontal).toString());
        const int value = ui_.list->fontMetrics().horizontalAdvance(QStringLiteral("8888 × 8888"));
        header->resizeSection(column, std::max(heading, value) + 16);
    }
    header->setStretchLastSection(false);
    thumbnails_ = new FileListThumbnails(*model_, ui_.list, settings_, part);

    auto* folder_row = new QHBoxLayout;
    folder_row->addWidget(ui_.source, 1);
    folder_row->addWidget(ui_.source_button);
    folder_row->addWidget(ui_.recurse);
    unreadable_notice_ = new QLabel(part);
    unreadable_notice_->setObjectName("unreadable_notice");
    unreadable_notice_->setWordWrap(true);
    unreadable_notice_->setTextFormat(Qt::PlainText);
    unreadable_notice_->hide();
    auto* list_row = new QHBoxLayout;
    list_row->addWidget(new QLabel(Tr(kListCaption), part));
    list_row->addWidget(ui_.count);
    list_row->addStretch(1);
    list_row->addWidget(thumbnails_->toggle());
    list_row->addWidget(ui_.exif);
    list_row->addWidget(ui_.select_all);

    auto* layout = new QVBoxLayout(part);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(Tr(kSourceCaption), part));
    layout->addLayout(folder_row);
    layout->addLayout(list_row);
    layout->addWidget(thumbnails_->views(), 1);
    layout->addWidget(unreadable_notice_);
    return part;
}

QWidget* CpelimonDlg::BuildPreviewPart() {
    auto* group = new QGroupBox(Tr(kPreviewGroup), this);
    ui_.preview = Named(new CPreview(kPreviewFrame, group), 1021);
    ui_.resolution = Named(new QLineEdit(group), 1027);
    ui_.colours = Named(new QLineEdit(group), 1028);
    for (QLineEdit* field : {ui_.resolution, ui_.colours}) {
        field->setReadOnly(true);
        field->setFrame(false);
        field->setFocusPolicy(Qt::NoFocus);
    }
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(ui_.preview, 1);
    layout->addWidget(ui_.resolution);
    layout->addWidget(ui_.colours);
    return group;
}

QWidget* CpelimonDlg::BuildOutputPart() {
    auto* part = new QWidget(this);
    ui_.output = Named(new QLineEdit(part), 1023);
    ui_.output_button = Named(new CXPDst(FolderIcon(), part), 1024);
    auto* row = new QHBoxLayout;
    row->addWidget(ui_.output, 1);
    row->addWidget(ui_.output_button);
    auto* layout = new QVBoxLayout(part);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(Tr(kOutputCaption), part));
    layout->addLayout(row);
    return part;
}

QWidget* CpelimonDlg::BuildSizeGroup() {
    auto* group = new QGroupBox(Tr(kSizeGroup), this);
    ui_.size_radios[0] = Named(new QRadioButton(Text(kSize640), group), 1010);
    ui_.size_radios[1] = Named(new QRadioButton(Text(kSize480), group), 1011);
    ui_.size_radios[2] = Named(new QRadioButton(Tr(kSizeOther), group), 1012);
    ui_.size_description = Named(new QLabel(Tr(kSizeCurrent), group), 1014);
    ui_.size_description->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ui_.size_set = PlainButton(Tr(kSizeSet), 1015, group);
    auto* radios = new QHBoxLayout;
    for (QRadioButton* radio : ui_.size_radios) {
        radios->addWidget(radio);
    }
    radios->addStretch(1);
    auto* description = new QHBoxLayout;
    description->addWidget(ui_.size_description, 1);
    description->addWidget(ui_.size_set);
    auto* layout = new QVBoxLayout(group);
    layout->addLayout(radios);
    layout->addLayout(description);
    return group;
}

QWidget* CpelimonDlg::BuildRotationGroup() {
    auto* group = new QGroupBox(Tr(kRotationGroup), this);
    ui_.rotation = new QButtonGroup(group);
    auto* layout = new QHBoxLayout(group);
    const char* texts[4] = {kRotate0, kRotate90, kRotate180, kRotate270};
    for (int i = 0; i < 4; ++i) {
        auto* radio = Named(new QRadioButton(Text(texts[i]), group), 1033 + i);
        ui_.rotation->addButton(radio, i * 90);
        layout->addWidget(radio);
    }
    layout->addStretch(1);
    ui_.rotation_reset = PlainButton(Tr(kRotateReset), 1037, group);
    layout->addWidget(ui_.rotation_reset);
    return group;
}

QWidget* CpelimonDlg::BuildFormatGroup() {
    auto* group = new QGroupBox(Tr(kFormatGroup), this);
    ui_.format = new QButtonGroup(group);
    std::vector<QWidget*> choices;
    const auto add = [&](const QString& text, int id, int file_type) {
        auto* radio = Named(new QRadioButton(text, group), id);
        ui_.format->addButton(radio, file_type);
        choices.push_back(radio);
    };
    add(Tr(kFormatSame), 1016, kFileTypeSame);
    for (const FormatRow* format : FormatsInCodeOrder(&FormatCodes::file_type)) {
        if (format->Written()) {
            add(Text(format->display_name), format->window.output_choice, format->codes.file_type);
        }
    }
    LayInRows(choices, kOutputChoicesPerRow, new QGridLayout(group));
    return group;
}

QWidget* CpelimonDlg::BuildQualityGroup() {
    auto* group = new QGroupBox(Text(Format(kQualityGroup, ListText(QualityFormatNames()))), this);
    ui_.quality = Named(new QSlider(Qt::Horizontal, group), 1002);
    ui_.quality->setRange(0, 100);
    ui_.quality->setTickInterval(10);
    ui_.quality->setTickPosition(QSlider::TicksBelow);
    ui_.quality->setPageStep(20);
    ui_.quality->setSingleStep(5);
    ui_.quality_text = Named(new QLineEdit(group), 1020);
    ui_.quality_text->setAlignment(Qt::AlignCenter);
    ui_.quality_text->setFixedWidth(kQualityEditWidth);
    // Only 1 to 100 can be typed (no leading zero), so the box always shows the quality in use;
    // an empty box keeps the last value and shows it again when left.
    ui_.quality_text->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("(100|[1-9][0-9]?)?")), ui_.quality_text));
    ui_.quality_text->setToolTip(Tr(kQualityRangeText));
    ui_.quality_reset = Named(new CImageButtonWithStyle(ResetIcon(), group), 1026);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(new QLabel(Tr(kLowQuality), group));
    layout->addWidget(ui_.quality, 1);
    layout->addWidget(new QLabel(Tr(kHighQuality), group));
    layout->addWidget(ui_.quality_text);
    layout->addWidget(ui_.quality_reset);
    return group;
}

QWidget* CpelimonDlg::BuildButtonColumn() {
    auto* column = new QWidget(this);
    ui_.defaults = PlainButton(Tr(kDefaults), 1013, column);
    ui_.options = PlainButton(Tr(kOptions), 1003, column);
    ui_.run = PlainButton(Tr(kRun), 1001, column);
    ui_.help = PlainButton(Tr(kHelp), 1000, column);
    ui_.quit = PlainButton(Tr(kQuit), 1031, column);
    // Lights up while a batch runs.
    ui_.worker = Named(new QLabel(column), 1022);
    ui_.worker->setPixmap(ProgramIcon().pixmap(kWorkerIconSize, kWorkerIconSize));
    ui_.worker->setEnabled(false);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* button : {ui_.defaults, ui_.options, ui_.run, ui_.help, ui_.quit}) {
        layout->addWidget(button);
    }
    layout->addStretch(1);
    layout->addWidget(ui_.worker, 0, Qt::AlignLeft);
    return column;
}

void CpelimonDlg::ConnectControls() {
    connect(ui_.source, &QLineEdit::textChanged, this, &CpelimonDlg::OnSourceTextChanged);
    connect(ui_.source_button, &QPushButton::clicked, this, [this] { BrowseFolder(true); });
    connect(ui_.recurse, &QCheckBox::toggled, this, &CpelimonDlg::OnRecurseToggled);
    connect(ui_.output_button, &QPushButton::clicked, this, [this] { BrowseFolder(false); });
    connect(ui_.source_button, &CFolderMenuButton::MenuCommand, this, &CpelimonDlg::OnFolderMenuCommand);
    connect(ui_.output_button, &CFolderMenuButton::MenuCommand, this, &CpelimonDlg::OnFolderMenuCommand);
    connect(ui_.output, &QLineEdit::textChanged, this, &CpelimonDlg::OnOutputTextChanged);
    connect(ui_.select_all, &QPushButton::clicked, this, &CpelimonDlg::OnSelectAll);
    connect(ui_.exif, &QPushButton::clicked, this, &CpelimonDlg::OpenExifDialog);
    for (const TypeBox& type : ui_.type_boxes) {
        connect(type.box, &QCheckBox::clicked, this,
                [this, box = type.box, bit = type.bit](bool checked) { OnTypeBoxClicked(bit, box, checked); });
    }

    connect(model_.get(), &FileListModel::CheckMarksChanged, this, &CpelimonDlg::ShowFileCount);
    connect(ui_.list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CpelimonDlg::OnCurrentRowChanged);
    connect(ui_.list->horizontalHeader(), &QHeaderView::sectionClicked, this, &CpelimonDlg::OnHeaderClicked);
    connect(preview_loader_, &PreviewLoader::Loaded, this, &CpelimonDlg::OnPreviewLoaded);
    connect(preview_loader_, &PreviewLoader::ColoursCounted, this, &CpelimonDlg::OnColoursCounted);

    connect(ui_.size_radios[0], &QRadioButton::clicked, this, [this] { OnSizePreset(kBase640x480); });
    connect(ui_.size_radios[1], &QRadioButton::clicked, this, [this] { OnSizePreset(kBase480x360); });
    connect(ui_.size_radios[2], &QRadioButton::clicked, this, &CpelimonDlg::OnSizeOther);
    connect(ui_.size_set, &QPushButton::clicked, this, &CpelimonDlg::RunSizeDialog);
    connect(ui_.rotation, &QButtonGroup::idClicked, this, &CpelimonDlg::OnRotation);
    connect(ui_.rotation_reset, &QPushButton::clicked, this, &CpelimonDlg::OnRotationReset);
    connect(ui_.format, &QButtonGroup::idClicked, this, [this](int file_type) { settings_.FileType = file_type; });
    connect(ui_.quality, &QSlider::valueChanged, this, &CpelimonDlg::OnQualitySlider);
    connect(ui_.quality_text, &QLineEdit::textChanged, this, &CpelimonDlg::OnQualityText);
    connect(ui_.quality_text, &QLineEdit::editingFinished, this, &CpelimonDlg::SetUpQualityControls);
    connect(ui_.quality_reset, &QPushButton::clicked, this, &CpelimonDlg::OnQualityReset);

    connect(ui_.defaults, &QPushButton::clicked, this, &CpelimonDlg::OnDefaults);
    connect(ui_.options, &QPushButton::clicked, this, &CpelimonDlg::OnOptions);
    connect(ui_.run, &QPushButton::clicked, this, &CpelimonDlg::StartBatch);
    connect(ui_.help, &QPushButton::clicked, this, &CpelimonDlg::OnHelp);
    connect(ui_.quit, &QPushButton::clicked, this, &QWidget::close);
    connect(batch_, &BatchController::RunningChanged, this, &CpelimonDlg::OnBatchRunningChanged);
    connect(batch_, &BatchController::Finished, this, &CpelimonDlg::OnBatchFinished);
}

void CpelimonDlg::InitialiseFromSettings() {
    ui_.rotation->button(0)->setChecked(true);
    ShowSettings();
    UseSourceFolder(QString::fromStdString(settings_.ImagePath));
}

void CpelimonDlg::closeEvent(QCloseEvent* event) {
    // A run in progress is stopped first; the window closes when it has ended, so that nothing
    // is torn down under the worker.
    if (batch_->running()) {
        close_when_batch_ends_ = true;
        batch_->CancelForClosing();
        event->ignore();
        return;
    }
    preview_loader_->Cancel();
    event->accept();
}

// The window opens at its natural size where the screen has room for it, smaller otherwise.
void CpelimonDlg::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!fitted_to_screen_) {
        fitted_to_screen_ = true;
        FitToScreen(*this);
    }
}

// Enter presses the focused push button, as Space does; no button is the window's default.
void CpelimonDlg::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); enter && button != nullptr && button->isEnabled()) {
        button->animateClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Space in the file list turns the current row's check mark, whichever cell is current.
bool CpelimonDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_.list && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        const int row = CurrentRow();
        if (row >= 0) {
            model_->SetChecked(row, !sources_.list().rows()[static_cast<size_t>(row)].checked);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CpelimonDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* about = menu.addAction(Tr(kAboutMenu));
    about->setObjectName("id16");
    if (menu.exec(event->globalPos()) == about) {
        OpenAboutBox();
    }
}

void CpelimonDlg::OpenAboutBox() {
    CAboutDlg about(this);
    about.exec();
}

}  // namespace pelimon
