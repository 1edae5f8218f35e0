#include "gui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include "common/language.h"

namespace pelimon {

namespace {

// Replaces the catalogue held in `slot` by `file` from `folder` (none when `file` is empty). The
// application owns the translator; the slot only tracks it.
bool Replace(QPointer<QTranslator>& slot, const QString& file, const QString& folder) {
    if (slot != nullptr) {
        QCoreApplication::removeTranslator(slot);
        delete slot;
    }
    if (file.isEmpty()) {
        return true;
    }
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(file, folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    slot = translator;
    return true;
}

QPointer<QTranslator>& QtCatalogue() {
    static QPointer<QTranslator> installed;
    return installed;
}

}  // namespace

bool LoadQtTranslations(const QString& language) {
    const QString file = language.isEmpty() ? QString() : QStringLiteral("qtbase_") + language;
    return Replace(QtCatalogue(), file, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) && !language.isEmpty();
}

bool InstallTranslations(std::string_view language) {
    const bool program = SetLanguage(language).ok();
    if (CurrentLanguage() == kEnglish) {
        LoadQtTranslations(QString());
        return program;
    }
    // QTranslator::load falls back from qtbase_pt_BR to qtbase_pt by itself.
    return LoadQtTranslations(QString::fromStdString(CurrentLanguage())) && program;
}

}  // namespace pelimon
