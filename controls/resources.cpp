#include "controls/resources.h"

#include <QString>

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterPelimonResources() {
    Q_INIT_RESOURCE(pelimon);
}

namespace pelimon {

namespace {

// GUI thread only, like every icon use.
QIcon LoadIcon(const char* stem, int size) {
    static const bool registered = [] {
        RegisterPelimonResources();
        return true;
    }();
    (void)registered;
    QIcon icon;
    for (const int px : {size, size * 2}) {
        icon.addFile(QStringLiteral(":/pelimon/icons/%1_%2.png").arg(QLatin1String(stem)).arg(px), QSize(px, px));
    }
    return icon;
}

}  // namespace

QIcon ProgramIcon() {
    return LoadIcon("pelimon", 64);
}
QIcon FolderIcon() {
    return LoadIcon("folder", 16);
}
QIcon ResetIcon() {
    return LoadIcon("reset", 16);
}
QIcon QuestionIcon() {
    return LoadIcon("question", 32);
}

}  // namespace pelimon
