// The window program around one modal run of the settings window, on Qt.
#pragma once

namespace ostrova::app {

// Runs the program as started with `argc` and `argv`; returns the exit status.
int RunProgram(int argc, char** argv);

}  // namespace ostrova::app
