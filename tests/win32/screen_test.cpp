// Screen scaling in the Win32 backend: which DPI the frame is told, and a dialog that keeps its
// layout on a monitor of another DPI (the font given in device pixels is the clock's, checked
// in frame_dpi_test.cpp). The per-monitor functions are stand-ins: wine has one DPI for every
// monitor and lacks the dialog ones. Also run with the screen at 144 DPI (see CMakeLists.txt).
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>
#include <vector>

#include "platform/win32/backend.h"
#include "platform/win32/dialog_window.h"

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
    UINT dpi = 0;
    void* awareness = nullptr;
    std::map<HWND, std::pair<int, int>> dialogs, controls;  // window -> mask, values
} g_monitor;

UINT WINAPI FakeDpiForWindow(HWND) {
    return g_monitor.dpi;
}
void* WINAPI FakeAwareness(HWND) {
    return g_monitor.awareness;
}
BOOL WINAPI FakeEqual(void* a, void* b) {
    return a == b;
}
BOOL WINAPI FakeDialogBehavior(HWND w, int mask, int values) {
    g_monitor.dialogs[w] = {mask, values};
    return TRUE;
}
BOOL WINAPI FakeControlBehavior(HWND w, int mask, int values) {
    g_monitor.controls[w] = {mask, values};
    return TRUE;
}

class Screen : public ::testing::Test {
protected:
    void SetUp() override {
        g_monitor = {};
        SetBackend(&backend_);
    }
    void TearDown() override { SetBackend(nullptr); }
    void Run(CDialog& dlg, const std::function<void(DialogWindow&)>& script) {
        backend_.SetShownHook([&](DialogWindow& window) {
            script(window);
            PostMessageW(window.hwnd(), WM_CLOSE, 0, 0);
        });
        ASSERT_NE(dlg.DoModal(), -1);
    }
    static int SystemDpi() {
        const HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        return dpi;
    }
    Win32Backend backend_{GetModuleHandleW(nullptr)};
};

TEST_F(Screen, TheFrameIsToldTheDpiTheWindowIsLaidOutAt) {
    // Per-monitor v2 lays a dialog out at its monitor's DPI; v1 and older Windows at the
    // system's, which the screen's device context reports.
    const DpiFunctions all{FakeDpiForWindow, FakeAwareness, FakeEqual, nullptr, nullptr};
    void* const v1 = reinterpret_cast<void*>(static_cast<INT_PTR>(-3));
    using Row = std::tuple<const char*, DpiFunctions, void*, int>;
    for (const auto& [what, functions, awareness, expected] : {
             Row{"per-monitor v2", all, kPerMonitorAwareV2, 144},
             Row{"per-monitor v1", all, v1, SystemDpi()},
             Row{"no GetDpiForWindow", DpiFunctions{nullptr, FakeAwareness, FakeEqual},
                 kPerMonitorAwareV2, SystemDpi()},
             Row{"no awareness contexts", DpiFunctions{FakeDpiForWindow}, kPerMonitorAwareV2,
                 SystemDpi()},
         }) {
        g_monitor.dpi = 144;
        g_monitor.awareness = awareness;
        backend_.SetDpiFunctions(functions);
        CDialog dlg(kDialog);
        int told = 0;
        Run(dlg, [&](DialogWindow&) { told = backend_.services().LogicalDpiX(); });
        EXPECT_EQ(told, expected) << what;
    }
    EXPECT_EQ(backend_.services().LogicalDpiX(), SystemDpi()) << "no window open";
}

TEST_F(Screen, ADialogKeepsItsLayoutOnAMonitorOfAnotherDpi) {
    backend_.SetDpiFunctions({nullptr, nullptr, nullptr, FakeDialogBehavior, FakeControlBehavior});
    CDialog dlg(kDialog);
    HWND dialog = nullptr;
    std::vector<HWND> controls;
    Run(dlg, [&](DialogWindow& window) {
        dialog = window.hwnd();
        for (int i = 0; i < 3; ++i) controls.push_back(window.control(i));
    });
    // No resizing, no new fonts, no moved controls: DDC_DISABLE_ALL | _RESIZE |
    // _CONTROL_RELAYOUT and DCDC_DISABLE_FONT_UPDATE | _RELAYOUT.
    EXPECT_EQ(g_monitor.dialogs, (std::map<HWND, std::pair<int, int>>{{dialog, {7, 7}}}));
    std::map<HWND, std::pair<int, int>> expected;
    for (HWND c : controls) expected[c] = {3, 3};
    EXPECT_EQ(g_monitor.controls, expected);
    // Without the functions (before Windows 10 1703) the dialog opens all the same.
    backend_.SetDpiFunctions({});
    CDialog plain(kDialog);
    Run(plain, [](DialogWindow&) {});
}

}  // namespace
}  // namespace ostrova::platform::win32
