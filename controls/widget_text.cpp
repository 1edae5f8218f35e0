#include "controls/widget_text.h"

#include <QCoreApplication>
#include <QTranslator>
#include <cstring>

#include "common/language.h"

namespace pelimon::widget_text {
namespace {

// Answers the window's texts (kWindowTextContext) from the current catalogue, and nothing else, so
// that Qt's own texts go on to Qt's catalogue.
class CatalogueTranslator final : public QTranslator {
  public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* source, const char* disambiguation, int /*n*/) const override {
        const Catalogue* catalogue = CurrentCatalogue();
        if (catalogue == nullptr || context == nullptr || source == nullptr ||
            std::strcmp(context, kWindowTextContext) != 0) {
            return {};
        }
        const char* translation = catalogue->Find(disambiguation, source);
        return translation != nullptr ? QString::fromUtf8(translation) : QString();
    }
    bool isEmpty() const override { return false; }
};

// Run by every QCoreApplication as it is made; the application owns the translator.
void InstallCatalogueTranslator() {
    QCoreApplication::installTranslator(new CatalogueTranslator(QCoreApplication::instance()));
}

}  // namespace

// In this file, which every window text reaches through Tr, so that the linker keeps the start-up
// function wherever a window is.
Q_COREAPP_STARTUP_FUNCTION(InstallCatalogueTranslator)

QString Tr(const Message& text) {
    return QCoreApplication::translate(kWindowTextContext, text.id(), text.context());
}

}  // namespace pelimon::widget_text
