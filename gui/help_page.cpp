#include "gui/help_page.h"

#include <QDir>
#include <QFileInfo>

namespace pelimon {

QString FindHelpPage(const QString& program_folder, std::string_view language) {
    const QDir program(program_folder);
    const QString folders[] = {
        program.filePath(QStringLiteral("help")),
        program.filePath(QStringLiteral("../share/pelimon/help")),
        QStringLiteral(PELIMON_INSTALLED_HELP_DIR),
    };
    QStringList pages;
    if (language != kJapanese) {
        pages << QString::fromUtf8(language.data(), static_cast<qsizetype>(language.size())) +
                     QStringLiteral("/index.html");
        if (language != kEnglish) {
            pages << QStringLiteral("en/index.html");
        }
    }
    pages << QStringLiteral("index.html");
    for (const QString& page : pages) {
        for (const QString& folder : folders) {
            const QFileInfo candidate(QDir(folder).filePath(page));
            if (candidate.isFile()) {
                return candidate.absoluteFilePath();
            }
        }
    }
    return {};
}

QUrl HelpUrl(const QString& page, const QString& anchor) {
    QUrl url = QUrl::fromLocalFile(page);
    url.setFragment(anchor);
    return url;
}

}  // namespace pelimon
