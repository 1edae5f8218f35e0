// Qt's own texts (message box buttons, the folder chooser, "Show Details...") in the window's
// language, from the qtbase catalogues of Debian's qt6-translations-l10n.
#pragma once

#include <QString>

namespace pelimon {

// The language of the window's own texts: "ja" today (every text is Japanese).
inline constexpr char kWindowLanguage[] = "ja";

// Installs Qt's catalogue for `language` ("ja": qtbase_ja.qm from Qt's translations folder) into
// the running application, replacing one installed before. True when a catalogue was loaded; when
// none is installed for the language, Qt's texts stay English and false is returned. Needs a
// QCoreApplication; GUI thread.
bool LoadQtTranslations(const QString& language);

}  // namespace pelimon
