// Screen scaling in the Win32 backend: which DPI the frame is told, and a dialog that keeps its
// layout on a monitor of another DPI (the font given in device pixels is the clock's, checked
// in frame_dpi_test.cpp). The per-monitor functions are stand-ins: wine has one DPI for every
// monitor and lacks the dialog ones. Also run with the screen at 144 DPI (see CMakeLists.txt).
#include <map>
#include <tuple>

#include "win32/harness.h"

namespace ostrova::platform::win32 {
namespace {

constexpr int kLabel = 10, kEdit = 11, kCombo = 12;
constexpr ControlTemplate kControls[] = {
    {kLabel, ControlKind::Label, "12-05-2024 10:20:30", {10, 10, 120, 12}},
    {kEdit, ControlKind::Edit, "", {10, 30, 60, 12}, kStyleTabStop | kStyleBorder},
    {kCombo, ControlKind::ComboDropDown, "", {10, 50, 60, 40}, kStyleTabStop},
};
constexpr DialogTemplate kDialog = {901, "DPI", 140,   100,      "Times New Roman",
                                    10,  false, false, kControls};

// The stand-ins' answers and what they were asked.
struct Monitor {
    void* awareness = nullptr;
    std::map<HWND, std::pair<int, int>> dialogs, controls;  // window -> mask, values
} g_monitor;

const DpiFunctions kStandIns{
    .getDpiForWindow = [](HWND) -> UINT { return 144; },
    .getWindowDpiAwarenessContext = [](HWND) { return g_monitor.awareness; },
    .areDpiAwarenessContextsEqual = [](void* a, void* b) -> BOOL { return a == b; },
    .setDialogDpiChangeBehavior = [](HWND w, int mask, int values) -> BOOL {
        g_monitor.dialogs[w] = {mask, values};
        return TRUE;
    },
    .setDialogControlDpiChangeBehavior = [](HWND w, int mask, int values) -> BOOL {
        g_monitor.controls[w] = {mask, values};
        return TRUE;
    },
};

using Screen = Win32Test;

TEST_F(Screen, TheFrameIsToldTheDpiTheWindowIsLaidOutAtAndTheLayoutStaysOnAnotherMonitor) {
    // Per-monitor v2 lays a dialog out at its monitor's DPI; v1 and older Windows at the
    // system's, which the screen's device context reports. Without the functions (before
    // Windows 10) the dialog opens all the same.
    void* const v1 = reinterpret_cast<void*>(static_cast<INT_PTR>(-3));
    using Row = std::tuple<const char*, DpiFunctions, void*, int>;
    for (const auto& [what, functions, awareness, expected] : {
             Row{"per-monitor v2", kStandIns, kPerMonitorAwareV2, 144},
             Row{"per-monitor v1", kStandIns, v1, SystemDpi()},
             Row{"none", DpiFunctions{}, kPerMonitorAwareV2, SystemDpi()},
         }) {
        g_monitor = {awareness, {}, {}};
        backend_.SetDpiFunctions(functions);
        CDialog dlg(kDialog);
        int told = 0;
        std::map<HWND, std::pair<int, int>> dialogs, controls;
        Run(dlg, [&](HWND w) {
            told = backend_.services().LogicalDpiX();
            // No resizing, no new fonts, no moved controls: DDC_DISABLE_ALL | _RESIZE |
            // _CONTROL_RELAYOUT and DCDC_DISABLE_FONT_UPDATE | _RELAYOUT.
            if (functions.setDialogDpiChangeBehavior == nullptr) return;
            dialogs[w] = {7, 7};
            for (int id : {kLabel, kEdit, kCombo}) controls[GetDlgItem(w, id)] = {3, 3};
        });
        EXPECT_EQ(std::tuple(told, g_monitor.dialogs, g_monitor.controls),
                  std::tuple(expected, dialogs, controls))
            << what;
    }
}

}  // namespace
}  // namespace ostrova::platform::win32
