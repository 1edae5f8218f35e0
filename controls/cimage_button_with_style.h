// Icon push buttons: CImageButtonWithStyle shows an icon on a button drawn by the current Qt
// style (themed, greyed when disabled). CXPDst and CXPSrc add a folder menu on right-click.
#pragma once

#include <QIcon>
#include <QPushButton>

#include "common/message.h"

class QMenu;

namespace pelimon {

class CImageButtonWithStyle : public QPushButton {
    Q_OBJECT
  public:
    explicit CImageButtonWithStyle(const QIcon& icon, QWidget* parent = nullptr);
};

// Command ids of the folder menus, sent with CFolderMenuButton::MenuCommand.
enum FolderMenuCommand : int {
    kCmdOutputDesktop = 32777,
    kCmdOutputDocuments = 32778,
    kCmdOutputPictures = 32779,
    kCmdOutputSameAsSource = 32780,
    kCmdSourceDesktop = 32781,
    kCmdSourceDocuments = 32782,
    kCmdSourcePictures = 32783,
};

// An image button whose right-click (or the context-menu key) opens a menu of folder commands.
// Each action carries objectName id<command>; choosing one emits MenuCommand(command).
class CFolderMenuButton : public CImageButtonWithStyle {
    Q_OBJECT
  public:
    QMenu* menu() const { return menu_; }

  signals:
    void MenuCommand(int command);

  protected:
    CFolderMenuButton(const QIcon& icon, QWidget* parent);
    void AddCommand(int command, const Message& text);
    void AddSeparator();
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QMenu* menu_;
};

// The output folder's button: デスクトップ, マイドキュメント, マイピクチャ, 元画像と同一フォルダ.
class CXPDst : public CFolderMenuButton {
    Q_OBJECT
  public:
    explicit CXPDst(const QIcon& icon, QWidget* parent = nullptr);
};

// The source folder's button: デスクトップ, マイドキュメント, マイピクチャ.
class CXPSrc : public CFolderMenuButton {
    Q_OBJECT
  public:
    explicit CXPSrc(const QIcon& icon, QWidget* parent = nullptr);
};

}  // namespace pelimon
