// COptMain: the modal options dialog, a tab control with the pages 全般 (CSetOption), ファイル名
// (CSetOption2) and 縮小方法 (CSetOption3). OK reads every page into a copy of the settings,
// asks about empty names, and stores the copy only when the person agrees; Cancel keeps the
// settings as they were, except StartNum, Digit and ImageNum, which the file-name page writes
// at once. Enter and Escape never close it.
#pragma once

#include <QDialog>
#include <memory>

#include "dialogs/dialog_prompt.h"
#include "settings/app_settings.h"

class CSetOption;
class CSetOption2;
class CSetOption3;
class QTabWidget;

class COptMain : public QDialog {
    Q_OBJECT

  public:
    // `settings` must outlive the dialog.
    explicit COptMain(pelimon::AppSettings& settings, QWidget* parent = nullptr);
    ~COptMain() override;

    // Replaces the message boxes (tests).
    void setPrompt(std::unique_ptr<pelimon::DialogPrompt> prompt);

  public slots:
    void accept() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // Reads the naming page into `next`; false when the person declined or the text is unusable.
    bool StoreNaming(pelimon::AppSettings& next);

    pelimon::AppSettings& settings_;
    std::unique_ptr<pelimon::DialogPrompt> prompt_;
    QTabWidget* tabs_ = nullptr;
    CSetOption* general_ = nullptr;
    CSetOption2* file_name_ = nullptr;
    CSetOption3* reduction_ = nullptr;
};
