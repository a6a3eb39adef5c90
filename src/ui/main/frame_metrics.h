// The main window's size on a given screen: a plain function of its height and DPI.
#pragma once

namespace ostrova::ui {

struct FrameMetrics {
    int width = 0;   // outer frame, device pixels
    int height = 0;
    bool scrollEnabled = false;
    int scrollMax = 0;  // 4 x the overflow on a short screen, else 0
    int scrollPage = 0; // 3 x the overflow on a short screen, else 0
    int overflow = 0;   // pixels by which the content overflows a short screen
};

// screenHeight: primary screen height in pixels; dpi: horizontal logical pixels per inch.
// Signed 32-bit arithmetic, each quotient truncated as written.
constexpr FrameMetrics ComputeFrameMetrics(int screenHeight, int dpi) {
    FrameMetrics m;
    const int threshold = dpi * 750 / 96;
    if (screenHeight < threshold) {
        m.width = dpi * 568 / 96 + (dpi > 96 ? 12 : 0);
        m.height = screenHeight - 60;
        m.overflow = dpi * 724 / 96 + dpi * 32 / 96 - screenHeight + 60;
        m.scrollMax = 4 * m.overflow;
        m.scrollPage = 3 * m.overflow;
        m.scrollEnabled = true;
        return m;
    }
    const int off = dpi > 96 ? dpi - 96 : 96 - dpi;
    m.height = off < 10 ? 690 : dpi * 690 / 96;
    m.width = off < 20 ? dpi * 548 / 96 : dpi * 563 / 96;
    return m;
}

// Pixels one wheel message scrolls: 30 at 96 DPI.
constexpr int WheelStep(int dpi) { return dpi * 30 / 96; }

}  // namespace ostrova::ui
