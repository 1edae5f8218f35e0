// The progress dialog of a batch: a percentage bar and text, and a キャンセル button that only
// raises the cancel flag (the run closes the dialog when it has stopped).
#pragma once

#include <QDialog>
#include <atomic>

class QLabel;
class QProgressBar;

namespace pelimon {

// Controls: the bar id1029 (0..100), the percentage text id1030, the cancel button id2; below the
// percentage the count ("count", e.g. "12 / 40") and the current file's name ("file").
class CProcMsg : public QDialog {
    Q_OBJECT
  public:
    explicit CProcMsg(QWidget* parent);

    // Shows floor(done / total * 100) percent as " 42.0 % 完了" (right-aligned in five columns, so
    // 100 is "100.0 % 完了"); a call that gives the percentage
    // already shown changes nothing. total <= 0 is ignored.
    void UpdateProgress(int done, int total);
    // Shows "done / total" (the count UpdateProgress shows as a percentage) and the name of the
    // file reported last (elided in the middle when it is too long).
    void ShowFile(int done, int total, const QString& file_name);

    // Set once the person has pressed キャンセル (or closed the dialog); never cleared. Any thread
    // may read it.
    bool cancelled() const { return cancelled_.load(); }

  signals:
    void CancelRequested();

  public slots:
    // Escape, the close box and キャンセル all end up here: the flag is raised, the dialog stays.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QProgressBar* bar_;
    std::atomic<bool> cancelled_{false};
    double last_percent_ = 0;
    QLabel* percent_;
    QLabel* count_;
    QLabel* file_;
};

}  // namespace pelimon
