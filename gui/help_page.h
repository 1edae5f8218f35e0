// Where the help page is: beside the program in the build tree (help/index.html, copied there by
// the build), or in the installed data folder (<prefix>/share/pelimon/help/index.html). The page
// of another language is <language>/index.html in the same folders (English: en/index.html).
#pragma once

#include <QString>
#include <QUrl>

#include "common/language.h"

namespace pelimon {

// The anchor of the main window's section (the same in both pages).
inline constexpr char kMainWindowHelpAnchor[] = "main-window";

// The first of these files that exists: <program folder>/help/index.html,
// <program folder>/../share/pelimon/help/index.html, <install data folder>/pelimon/help/index.html.
// For another language the same folders are searched first for <language>/index.html, then (but
// for English) for en/index.html; the Japanese page is taken when neither is there. Empty when no
// page is found.
QString FindHelpPage(const QString& program_folder, std::string_view language);

// file:// URL of `page` opened at `anchor`.
QUrl HelpUrl(const QString& page, const QString& anchor);

}  // namespace pelimon
