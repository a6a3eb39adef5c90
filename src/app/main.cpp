// The program: one modal run of the settings window, on Qt.
#include "app/program.h"

int main(int argc, char** argv) {
    return ostrova::app::RunProgram(argc, argv);
}
