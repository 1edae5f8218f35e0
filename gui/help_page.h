// Where the help page is: beside the program in the build tree (help/index.html, copied there by
// the build), or in the installed data folder (<prefix>/share/pelimon/help/index.html).
#pragma once

#include <QString>
#include <QUrl>

namespace pelimon {

// The anchor of the main window's section.
inline constexpr char kMainWindowHelpAnchor[] = "main-window";

// The first of these files that exists: <program folder>/help/index.html,
// <program folder>/../share/pelimon/help/index.html, <install data folder>/pelimon/help/index.html.
// Empty when none does.
QString FindHelpPage(const QString& program_folder);

// file:// URL of `page` opened at `anchor`.
QUrl HelpUrl(const QString& page, const QString& anchor);

}  // namespace pelimon
