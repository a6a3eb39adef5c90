// The application object: its whole life is one modal run of the main window.
#pragma once

namespace ostrova::ui {

class CSettingsApp {
public:
    // Runs the main window modally; returns false, so the process goes straight to its end.
    bool InitInstance();
};

}  // namespace ostrova::ui
