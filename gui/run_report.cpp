#include "gui/run_report.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "controls/widget_text.h"
#include "gui/cpelimon_dlg_texts.h"

namespace pelimon {

namespace {

using namespace main_texts;

constexpr QSize kReportSize(640, 360);
constexpr int kReportMaxWidth = 1000;
constexpr int kReportMargin = 64;
constexpr int kIconSize = 32;

using widget_text::Tr;

// "name.jpg: why" → "why", when the name is the file's own.
QString WithoutFileName(const QString& message, const QString& file) {
    const QString prefix = file + QStringLiteral(": ");
    return !file.isEmpty() && message.startsWith(prefix) ? message.mid(prefix.size()) : message;
}

}  // namespace

RunCounts CountRun(const BatchOutcome& outcome, int checked) {
    RunCounts counts;
    counts.written = outcome.written;
    counts.failed = static_cast<int>(outcome.failures.size());
    counts.up_to_date = outcome.up_to_date;
    counts.cancelled = outcome.kind == BatchOutcome::Kind::kCancelled;
    if (!counts.cancelled) {
        counts.left_out = std::max(0, checked - counts.written - counts.failed - counts.up_to_date);
    }
    return counts;
}

QString RunCountsText(const RunCounts& counts) {
    QStringList lines;
    if (counts.cancelled) {
        lines << Tr(kRunCancelledText);
    }
    if (counts.written > 0 || counts.cancelled || (counts.left_out == 0 && counts.failed == 0)) {
        lines << Tr(kRunWrittenFormat).arg(counts.written);
    }
    if (counts.up_to_date > 0) {
        lines << Tr(kRunUpToDateFormat).arg(counts.up_to_date);
    }
    if (counts.left_out > 0) {
        lines << Tr(kRunLeftOutFormat).arg(counts.left_out);
    }
    if (counts.failed > 0) {
        lines << Tr(kSummaryFailedFormat).arg(counts.failed);
    }
    return lines.join(QLatin1Char('\n'));
}

std::vector<ReportLine> FailureLines(const std::vector<Error>& failures) {
    std::vector<ReportLine> lines;
    std::map<QString, size_t> line_of_path;
    for (const Error& failure : failures) {
        const QString path = QString::fromStdString(failure.path);
        const QString file = QFileInfo(path).fileName();
        const QString reason = WithoutFileName(QString::fromStdString(failure.message), file);
        const auto [where, added] = line_of_path.try_emplace(path.isEmpty() ? reason : path, lines.size());
        if (added) {
            lines.push_back({file, reason});
        } else if (!lines[where->second].reason.contains(reason)) {
            lines[where->second].reason += QStringLiteral(" ") + reason;
        }
    }
    return lines;
}

CRunReport::CRunReport(const RunCounts& counts, const std::vector<Error>& failures,
                       const std::vector<std::string>& notes, QWidget* parent)
    : QDialog(parent) {
    setObjectName("batch_summary");
    setWindowTitle(Tr(kSummaryCaption));
    setSizeGripEnabled(true);

    auto* icon = new QLabel(this);
    const QStyle::StandardPixmap kind =
        failures.empty() ? QStyle::SP_MessageBoxInformation : QStyle::SP_MessageBoxWarning;
    icon->setPixmap(style()->standardIcon(kind, nullptr, this).pixmap(kIconSize, kIconSize));
    icon->setAlignment(Qt::AlignTop);
    QStringList summary_lines{RunCountsText(counts)};
    if (!notes.empty()) {
        summary_lines << Tr(kSummaryNotesFormat).arg(notes.size());
    }
    auto* summary = new QLabel(summary_lines.join(QLatin1Char('\n')), this);
    summary->setObjectName("summary");
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* list = new QTreeWidget(this);
    list->setObjectName("failures");
    list->setRootIsDecorated(false);
    list->setAlternatingRowColors(true);

    list->setHeaderLabels({Tr(kReportFileColumn), Tr(kReportReasonColumn)});
    for (const ReportLine& line : FailureLines(failures)) {
        auto* item = new QTreeWidgetItem(list, {line.file, line.reason});
        item->setToolTip(1, line.reason);
    }
    for (const std::string& note : notes) {
        auto* item = new QTreeWidgetItem(list, {QString(), QString::fromStdString(note)});
        item->setToolTip(1, item->text(1));
    }
    // Whole reasons, never cut with "…": a long one scrolls sideways.
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->setVisible(list->topLevelItemCount() > 0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(summary, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
    if (list->isVisibleTo(this)) {
        // Wide enough for the reasons where the screen allows it.
        list->resizeColumnToContents(0);
        list->resizeColumnToContents(1);
        const int content = list->columnWidth(0) + list->columnWidth(1) + kReportMargin;
        resize(std::clamp(content, kReportSize.width(), kReportMaxWidth), kReportSize.height());
    }
}

}  // namespace pelimon
