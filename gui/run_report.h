// What the window says when a batch has ended: how many images were written, how many were left
// out and how many failed (or that the run was cancelled and how many were written by then), and,
// when something failed or was renamed, a list of those files with the reason.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "batch/run_batch.h"

namespace pelimon {

struct RunCounts {
    int written = 0;     // outputs in place
    int left_out = 0;    // checked files that gave no output on purpose or had gone before the run
    int up_to_date = 0;  // checked files whose output was current (Update)
    int failed = 0;      // files that could not be reduced or written
    bool cancelled = false;
};

// The counts of a run that went as far as its jobs; `checked` is the number of checked rows it
// started with. A cancelled run counts nothing as left out (the rest was simply not reached).
RunCounts CountRun(const BatchOutcome& outcome, int checked);

// One line per count that is not zero, written first ("12 個の画像を書き出しました。"), in the
// order written, up to date, left out, failed; a cancelled run starts with "処理を中止しました。".
QString RunCountsText(const RunCounts& counts);

// A file of the report: its name and why it is listed.
struct ReportLine {
    QString file;
    QString reason;
};

// The failures as the list shows them: each file once (several reasons of one file are joined),
// the file's name without folder, and the reason without the repeated name in front of it.
std::vector<ReportLine> FailureLines(const std::vector<Error>& failures);

// The end-of-run report: the counts (objectName "summary") over a resizable two-column list
// (objectName "failures": ファイル, 理由) of the failed files and then the renamed outputs.
class CRunReport : public QDialog {
    Q_OBJECT
  public:
    CRunReport(const RunCounts& counts, const std::vector<Error>& failures, const std::vector<std::string>& notes,
               QWidget* parent);
};

}  // namespace pelimon
