// The catalogues that put the window into the language chosen at start-up: the window's own
// English (res/i18n/pelimon_en.ts, compiled into the program as :/i18n/pelimon_en.qm) and Qt's own
// texts (message box buttons, the folder chooser, "Show Details...") from the qtbase catalogues of
// Debian's qt6-translations-l10n.
#pragma once

#include <QString>

#include "common/language.h"

namespace pelimon {

// Installs the catalogues of `language` into the running application, replacing any installed
// before. Japanese: Qt's catalogue qtbase_ja and no window catalogue (the window's texts are
// Japanese already). English: the window's English and no Qt catalogue (Qt's texts are English).
// False when the catalogue the language needs could not be loaded; its texts then stay as they
// are in the source. Needs a QCoreApplication; GUI thread.
bool InstallTranslations(Language language);

// Installs Qt's catalogue for `language` ("ja": qtbase_ja.qm from Qt's translations folder),
// replacing one installed before; an empty `language` only removes it. True when a catalogue was
// loaded; when none is installed for the language, Qt's texts stay English and false is returned.
bool LoadQtTranslations(const QString& language);

}  // namespace pelimon
