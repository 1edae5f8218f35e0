// The program's own icons, compiled in from res/pelimon.qrc (drawn in res/*.svg, rendered to PNG
// by res/make-icons.sh). The resources live in a static library, so they are registered on first
// use here rather than by a static initialiser the linker could drop.
#pragma once

#include <QIcon>

namespace pelimon {

QIcon ProgramIcon();   // the window icon (also the about box's)
QIcon FolderIcon();    // the two folder buttons
QIcon ResetIcon();     // the quality reset button
QIcon QuestionIcon();  // the confirmation dialogs

}  // namespace pelimon
