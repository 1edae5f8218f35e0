// The catalogues that put the window into the program's language: its own texts (widget_text::Tr)
// through a translator that answers from the program's message catalogue (common/language.h),
// Qt's own texts (message box buttons, the folder chooser, "Show Details...") from the qtbase
// catalogues of Debian's qt6-translations-l10n.
#pragma once

#include <QString>
#include <string_view>

namespace pelimon {

// Makes `language` the program's language (SetLanguage) and the window's: installs the catalogue
// translator (once) and Qt's catalogue qtbase_<language> (the locale's language when Qt has none
// for the full name: qtbase_pt for pt_BR), replacing the one installed before; English needs none.
// False when the program's catalogue or Qt's could not be loaded; those texts then stay English.
// Needs a QCoreApplication; GUI thread.
bool InstallTranslations(std::string_view language);

// Installs Qt's catalogue for `language` ("ja": qtbase_ja.qm from Qt's translations folder),
// replacing one installed before; an empty `language` only removes it. True when a catalogue was
// loaded; when none is installed for the language, Qt's texts stay English and false is returned.
bool LoadQtTranslations(const QString& language);

}  // namespace pelimon
