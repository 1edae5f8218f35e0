// The program with its window: start-up, the main window, the command line, and the settings
// saved when the window closes.
#pragma once

namespace pelimon {

// Runs the whole windowed program and returns the process's exit status: 1 when the image library
// is too old (after a message box), otherwise 0. Needs a display.
int RunGuiMain(int argc, char** argv);

}  // namespace pelimon
