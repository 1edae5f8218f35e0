#include "gui/cproc_msg.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "controls/widget_text.h"
#include "gui/cproc_msg_texts.h"

namespace pelimon {

namespace t = progress_texts;
using widget_text::Tr;

namespace {
constexpr int kBarMinimumWidth = 280;
}

CProcMsg::CProcMsg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(Tr(t::kTitle));

    auto* text = new QLabel(Tr(t::kText), this);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("id1029");
    bar_->setRange(0, 100);
    bar_->setValue(1);
    bar_->setTextVisible(false);
    bar_->setMinimumWidth(kBarMinimumWidth);
    percent_ = new QLabel(Tr(t::kInitial), this);
    percent_->setObjectName("id1030");
    count_ = new QLabel(this);
    count_->setObjectName("count");
    file_ = new QLabel(this);
    file_->setObjectName("file");
    file_->setTextFormat(Qt::PlainText);
    // A line each from the start, so that the dialog does not grow when the first file shows.
    for (QLabel* line : {count_, file_}) {
        line->setMinimumHeight(line->fontMetrics().height());
    }
    auto* cancel = new QPushButton(Tr(t::kCancel), this);
    cancel->setObjectName("id2");
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &CProcMsg::reject);

    auto* progress_row = new QHBoxLayout;
    progress_row->addWidget(bar_, 1);
    progress_row->addWidget(percent_);
    auto* button_row = new QHBoxLayout;
    button_row->addStretch(1);
    button_row->addWidget(cancel);
    button_row->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(progress_row);
    layout->addWidget(count_);
    layout->addWidget(file_);
    layout->addLayout(button_row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CProcMsg::UpdateProgress(int done, int total) {
    if (total <= 0) {
        return;
    }
    const double percent = std::floor(static_cast<double>(done) / static_cast<double>(total) * 100.0);
    if (percent == last_percent_) {
        return;
    }
    last_percent_ = percent;
    bar_->setValue(static_cast<int>(percent));
    // Five columns, so that the numbers stay right-aligned from " 0.0" up to "100.0".
    percent_->setText(Tr(t::kPercentFormat).arg(percent, 5, 'f', 1));
}

void CProcMsg::ShowFile(int done, int total, const QString& file_name) {
    count_->setText(QString::fromUtf8(t::kCountFormat).arg(done).arg(total));
    // As wide as the bar, so that a long name never widens the dialog.
    file_->setText(file_->fontMetrics().elidedText(file_name, Qt::ElideMiddle, bar_->width()));
    file_->setToolTip(file_name);
}

void CProcMsg::reject() {
    if (!cancelled_.exchange(true)) {
        emit CancelRequested();
    }
}

void CProcMsg::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

}  // namespace pelimon
