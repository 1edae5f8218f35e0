#include "controls/cimage_button_with_style.h"

#include <QContextMenuEvent>
#include <QMenu>

#include "controls/controls_texts.h"
#include "controls/widget_text.h"

namespace pelimon {

namespace {
constexpr int kButtonIconSize = 16;
}

CImageButtonWithStyle::CImageButtonWithStyle(const QIcon& icon, QWidget* parent) : QPushButton(parent) {
    setIcon(icon);
    setIconSize(QSize(kButtonIconSize, kButtonIconSize));
    setAutoDefault(false);
}

CFolderMenuButton::CFolderMenuButton(const QIcon& icon, QWidget* parent)
    : CImageButtonWithStyle(icon, parent), menu_(new QMenu(this)) {}

void CFolderMenuButton::AddCommand(int command, const Message& text) {
    QAction* action = menu_->addAction(widget_text::Tr(text));
    action->setObjectName(QStringLiteral("id%1").arg(command));
    connect(action, &QAction::triggered, this, [this, command] { emit MenuCommand(command); });
}

void CFolderMenuButton::AddSeparator() {
    menu_->addSeparator();
}

void CFolderMenuButton::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
    event->accept();
}

CXPDst::CXPDst(const QIcon& icon, QWidget* parent) : CFolderMenuButton(icon, parent) {
    AddCommand(kCmdOutputDesktop, controls_texts::kMenuDesktop);
    AddSeparator();
    AddCommand(kCmdOutputDocuments, controls_texts::kMenuDocuments);
    AddCommand(kCmdOutputPictures, controls_texts::kMenuPictures);
    AddSeparator();
    AddCommand(kCmdOutputSameAsSource, controls_texts::kMenuSameAsSource);
}

CXPSrc::CXPSrc(const QIcon& icon, QWidget* parent) : CFolderMenuButton(icon, parent) {
    AddCommand(kCmdSourceDesktop, controls_texts::kMenuDesktop);
    AddSeparator();
    AddCommand(kCmdSourceDocuments, controls_texts::kMenuDocuments);
    AddCommand(kCmdSourcePictures, controls_texts::kMenuPictures);
}

}  // namespace pelimon
