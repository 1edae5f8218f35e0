#include "gui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>
#include <cstring>

#include "common/language.h"
#include "controls/widget_text.h"

namespace pelimon {

namespace {

// Answers the window's texts (context widget_text::kWindowTextContext; a disambiguation is the
// message's context) from the current catalogue, and nothing else, so that Qt's own texts go on
// to Qt's catalogue.
class CatalogueTranslator final : public QTranslator {
  public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* source, const char* disambiguation, int /*n*/) const override {
        const Catalogue* catalogue = CurrentCatalogue();
        if (catalogue == nullptr || context == nullptr || source == nullptr ||
            std::strcmp(context, widget_text::kWindowTextContext) != 0) {
            return {};
        }
        const char* translation = catalogue->Find(disambiguation, source);
        return translation != nullptr ? QString::fromUtf8(translation) : QString();
    }
    bool isEmpty() const override { return false; }
};

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

void InstallCatalogueTranslator() {
    static QPointer<QTranslator> installed;
    if (installed == nullptr) {
        installed = new CatalogueTranslator(QCoreApplication::instance());
        QCoreApplication::installTranslator(installed);
    }
}

bool LoadWindowTranslations(const QString& language) {
    static QPointer<QTranslator> installed;
    const QString file = language.isEmpty() ? QString() : QStringLiteral("pelimon_") + language;
    return Replace(installed, file, QStringLiteral(":/i18n"));
}

}  // namespace

bool LoadQtTranslations(const QString& language) {
    const QString file = language.isEmpty() ? QString() : QStringLiteral("qtbase_") + language;
    return Replace(QtCatalogue(), file, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) && !language.isEmpty();
}

bool InstallTranslations(std::string_view language) {
    const bool program = SetLanguage(language).ok();
    InstallCatalogueTranslator();
    if (CurrentLanguage() == kEnglish) {
        LoadQtTranslations(QString());
        return LoadWindowTranslations(QStringLiteral("en")) && program;
    }
    LoadWindowTranslations(QString());
    const QString name = QString::fromStdString(CurrentLanguage());
    return (LoadQtTranslations(name) || LoadQtTranslations(name.section(QLatin1Char('_'), 0, 0))) && program;
}

}  // namespace pelimon
