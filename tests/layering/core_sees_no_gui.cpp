// Does not compile with pelimon_app_core's include directory: no core folder sees the GUI.
#include "gui/gui_main.h"
