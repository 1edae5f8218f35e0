// The window in the program's language: its own texts (widget_text::Tr) come from the program's
// message catalogue (common/language.h) through the translator every application object gets;
// Qt's own texts (message box buttons, the folder chooser, "Show Details...") from the qtbase
// catalogues of Debian's qt6-translations-l10n, which InstallTranslations loads.
#pragma once

#include <QString>
#include <string_view>

namespace pelimon {

// Makes `language` the program's language (SetLanguage), and so the window's, and installs Qt's
// catalogue qtbase_<language> (qtbase_pt for pt_BR when Qt has no qtbase_pt_BR), replacing the
// one installed before; English needs none. Windows made afterwards speak the language.
// False when the program's catalogue or Qt's could not be loaded; those texts then stay English.
// Needs a QCoreApplication; GUI thread.
bool InstallTranslations(std::string_view language);

// Installs Qt's catalogue for `language` ("ja": qtbase_ja.qm from Qt's translations folder),
// replacing one installed before; an empty `language` only removes it. True when a catalogue was
// loaded; when none is installed for the language, Qt's texts stay English and false is returned.
bool LoadQtTranslations(const QString& language);

}  // namespace pelimon
