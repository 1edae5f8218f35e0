#include "gui/help_page.h"

#include <QDir>
#include <QFileInfo>

namespace pelimon {

QString FindHelpPage(const QString& program_folder) {
    const QDir program(program_folder);
    const QString candidates[] = {
        program.filePath(QStringLiteral("help/index.html")),
        program.filePath(QStringLiteral("../share/pelimon/help/index.html")),
        QStringLiteral(PELIMON_INSTALLED_HELP_DIR "/index.html"),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile()) {
            return QFileInfo(candidate).absoluteFilePath();
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
