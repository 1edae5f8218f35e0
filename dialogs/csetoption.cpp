#include "dialogs/csetoption.h"
#include "controls/widget_text.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/coptmain_texts.h"

namespace t = pelimon::option_texts;

using pelimon::widget_text::Named;
using pelimon::widget_text::Tr;

namespace {

template <class W>
W* Add(QGroupBox* group, const pelimon::Message& text, const char* id) {
    auto* widget = Named(new W(Tr(text), group), id);
    group->layout()->addWidget(widget);
    return widget;
}

QGroupBox* Group(QWidget* page, const pelimon::Message& title) {
    auto* group = new QGroupBox(Tr(title), page);
    new QVBoxLayout(group);
    page->layout()->addWidget(group);
    return group;
}

}  // namespace

CSetOption::CSetOption(const pelimon::AppSettings& settings, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CSetOption"));
    BuildLayout();
    Show(settings);
    // Removing only the Exif data contradicts keeping it.
    connect(exif_only_, &QRadioButton::clicked, this, [this] { SetExifEnabled(false); });
    connect(enlarge_, &QRadioButton::clicked, this, [this] { SetExifEnabled(true); });
    connect(leave_, &QRadioButton::clicked, this, [this] { SetExifEnabled(true); });
    // Removing the location only means something while the Exif data is kept.
    connect(exif_, &QCheckBox::toggled, this, [this] { UpdateNoLocation(); });
}

void CSetOption::SetExifEnabled(bool enabled) {
    exif_->setEnabled(enabled);
    UpdateNoLocation();
}

void CSetOption::UpdateNoLocation() {
    no_location_->setEnabled(exif_->isEnabled() && exif_->isChecked());
}

void CSetOption::BuildLayout() {
    new QVBoxLayout(this);
    QGroupBox* drop = Group(this, t::kDropGroup);
    drag_drop_ = Add<QCheckBox>(drop, t::kDragDrop, "id1007");
    QGroupBox* big = Group(this, t::kBigSizeGroup);
    equal_ = Add<QCheckBox>(big, t::kEqual, "id1013");
    enlarge_ = Add<QRadioButton>(big, t::kEnlarge, "id1010");
    leave_ = Add<QRadioButton>(big, t::kLeaveAlone, "id1011");
    exif_only_ = Add<QRadioButton>(big, t::kRemoveExifOnly, "id1012");
    QGroupBox* exif = Group(this, t::kExifGroup);
    exif_ = Add<QCheckBox>(exif, t::kKeepExif, "id1008");
    exif_date_ = Add<QCheckBox>(exif, t::kExifDate, "id1009");
    auto_rotate_ = Add<QCheckBox>(exif, t::kAutoRotate, "autoRotate");
    to_srgb_ = Add<QCheckBox>(exif, t::kToSrgb, "toSrgb");
    // Listed after ToSRGB, as in the settings file; it depends on the Exif box above.
    no_location_ = Add<QCheckBox>(exif, t::kNoLocation, "id1014");
    QGroupBox* output = Group(this, t::kOutputGroup);
    user_folder_ = Add<QRadioButton>(output, t::kUserFolder, "id1016");
    resize_folder_ = Add<QRadioButton>(output, t::kResizeFolder, "id1017");
    flat_ = Add<QCheckBox>(output, t::kFlat, "id1057");
    update_ = Add<QCheckBox>(output, t::kUpdate, "id1056");
    static_cast<QVBoxLayout*>(layout())->addStretch();
}

std::array<SwitchBox, 8> CSetOption::Switches() const {
    return {{{drag_drop_, &pelimon::AppSettings::DragDrop},
             {exif_, &pelimon::AppSettings::Exif},
             {no_location_, &pelimon::AppSettings::NoLocation},
             {exif_date_, &pelimon::AppSettings::ExifDate},
             {auto_rotate_, &pelimon::AppSettings::AutoRotate},
             {to_srgb_, &pelimon::AppSettings::ToSRGB},
             {flat_, &pelimon::AppSettings::Flat},
             {update_, &pelimon::AppSettings::Update}}};
}

void CSetOption::Show(const pelimon::AppSettings& settings) {
    ShowSwitches(Switches(), settings);
    equal_->setChecked(settings.Equal == pelimon::kEqualIsLarger);
    if (settings.BigSize & pelimon::kBigSizeEnlarge) {
        enlarge_->setChecked(true);
    }
    if (settings.BigSize & pelimon::kBigSizeLeave) {
        leave_->setChecked(true);
    }
    if (settings.BigSize & pelimon::kBigSizeStripExif) {
        exif_only_->setChecked(true);
        exif_->setEnabled(false);
    }
    UpdateNoLocation();
    (settings.Resize != pelimon::kResizeUserFolder ? resize_folder_ : user_folder_)->setChecked(true);
}

void CSetOption::Store(pelimon::AppSettings& settings) const {
    settings.Equal = equal_->isChecked() ? pelimon::kEqualIsLarger : pelimon::kEqualIsSmaller;
    if (enlarge_->isChecked()) {
        settings.BigSize = pelimon::kBigSizeEnlarge;
    } else if (leave_->isChecked()) {
        settings.BigSize = pelimon::kBigSizeLeave;
    } else if (exif_only_->isChecked()) {
        settings.BigSize = pelimon::kBigSizeStripExif;
    }
    StoreSwitches(Switches(), settings);
    if (user_folder_->isChecked()) {
        settings.Resize = pelimon::kResizeUserFolder;
    } else if (resize_folder_->isChecked()) {
        settings.Resize = pelimon::kResizeDatedFolder;
    }
}
