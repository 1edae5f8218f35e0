#include "gui/help_window.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "controls/widget_text.h"
#include "gui/cpelimon_dlg_texts.h"

namespace pelimon {

using widget_text::Tr;

namespace {
constexpr QSize kHelpWindowSize(640, 560);
}

HelpWindow::HelpWindow(const QUrl& url, QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    setObjectName("help_window");
    setWindowTitle(Tr(main_texts::kHelpCaption));
    browser_->setOpenExternalLinks(true);
    browser_->setSource(url);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_, 1);
    layout->addWidget(buttons);
    resize(kHelpWindowSize);
}

void OpenHelp(const QUrl& url, QWidget* parent) {
    if (QDesktopServices::openUrl(url)) {
        return;
    }
    auto* window = new HelpWindow(url, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

}  // namespace pelimon
