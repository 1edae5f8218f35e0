#include "controls/cabout_dlg.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/chot_static.h"
#include "controls/controls_texts.h"
#include "controls/resources.h"
#include "controls/widget_text.h"

namespace pelimon {

using widget_text::Tr;

namespace {
constexpr int kIconSize = 32;
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    using namespace controls_texts;
    setWindowTitle(Tr(kAboutTitle));

    auto* icon = new QLabel(this);
    icon->setObjectName("id135");
    icon->setPixmap(ProgramIcon().pixmap(kIconSize, kIconSize));
    auto* version = new QLabel(Tr(kAboutVersion), this);
    auto* notice = new QLabel(QString::fromUtf8(kAboutNotice), this);
    auto* ok = new QPushButton(QString::fromUtf8(kAboutOk), this);
    ok->setObjectName("id1");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* home = new CHotStatic(this);
    home->setObjectName("id1052");
    home->setText(QString::fromUtf8(kAboutHomePage));
    home->SetLink(QString::fromUtf8(kAboutHomePage));
    auto* mail = new CHotStatic(this);
    mail->setObjectName("id1053");
    mail->setText(QString::fromUtf8(kAboutMail));
    mail->SetLink(QStringLiteral("mailto:") + QString::fromUtf8(kAboutMail));

    auto* lines = new QVBoxLayout;
    lines->addWidget(version);
    lines->addWidget(notice);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(lines, 1);
    top->addWidget(ok, 0, Qt::AlignTop);

    auto* links = new QGridLayout;
    links->addWidget(new QLabel(QString::fromUtf8(kAboutHomePageLabel), this), 0, 0);
    links->addWidget(home, 0, 1);
    links->addWidget(new QLabel(QString::fromUtf8(kAboutMailLabel), this), 1, 0);
    links->addWidget(mail, 1, 1);
    links->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(rule);
    layout->addLayout(links);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace pelimon
