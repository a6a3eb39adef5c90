// The main window on the Win32 backend at the screen's DPI (CTest runs it at 96, 120 and 144 DPI
// on a 1280 x 1024 screen): the frame's size and scroll range for that DPI, the clock's cell of
// 20 device pixels, and every control reachable through the scroll bar. (The form's own state is
// tested headless.)
// Before <windows.h>, whose IDOK and IDCANCEL macros would clash with the constants.
#include "res/resource_ids.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "config/record.h"
#include "ui/main/settings_dlg.h"
#include "win32/harness.h"

namespace ostrova::ui {
namespace {

using namespace ostrova::res;
using MainWindowAtThisDpi = platform::win32::Win32Test;

// The frame's rules worked out for a 1024-pixel-high screen: outer size, and the scroll range
// (4 and 3 times the overflow) where the screen is too short; then the width the laid-out form
// needs where that is more (under wine, with the form's left margin on its right too).
struct Frame {
    int width, height, scrollMax, scrollPage, formWidth;
};
const std::map<int, Frame> kFrames = {
    {96, {548, 690, 0, 0, 548}},       // 750 lines needed: the long branch
    {120, {703, 862, 0, 0, 787}},      // 937 needed; A = 24: 563 and 690 scaled
    {144, {864, 964, 680, 510, 890}},  // 1125 needed: 852 + 12 wide, 1024 - 60 high, overflow 170
};

TEST_F(MainWindowAtThisDpi, FollowsTheFrameRulesAndShowsEveryControl) {
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    ASSERT_EQ(kFrames.count(SystemDpi()), 1u) << SystemDpi();
    const Frame& frame = kFrames.at(SystemDpi());
    ConfigRecord record{};
    CustomPreset preset{};
    CSettingsDlg dlg(record, preset);
    Run(dlg, [&](HWND w) {
        RECT outer{};
        GetWindowRect(w, &outer);
        SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(w, SB_VERT, &si);
        EXPECT_EQ(
            std::tuple(outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
                       si.nMax, static_cast<int>(si.nPage)),
            std::tuple(0, 0, frame.formWidth, frame.height, frame.scrollMax, frame.scrollPage));

        // The clock: a bold italic Arial whose cell (a positive height) is 20 device pixels.
        const HWND clock = GetDlgItem(w, IDC_LABEL_DATETIME);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(clock, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_EQ(std::tuple(font.lfHeight, font.lfWeight, font.lfItalic != 0,
                             std::wstring(font.lfFaceName)),
                  std::tuple(20, 700, true, L"Arial"));

        // Every control lies inside the client area, once scrolled as far as the bar goes. At
        // 120 DPI wine measures the template font (Liberation Serif, 17 pixels) at a base unit
        // of 10 where the font's rounded widths give 9: the window grows to the form.
        RECT client{};
        GetClientRect(w, &client);
        const int overflow = frame.scrollMax - frame.scrollPage;
        for (HWND c = GetWindow(w, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
            const RECT r = PlaceOf(c);
            EXPECT_TRUE(r.top >= 0 && r.left >= 0 && r.right <= client.right &&
                        r.bottom - client.bottom <= std::min<LONG>(r.top, overflow))
                << "control " << GetDlgCtrlID(c);
        }
        // The scroll bar's end brings the last row into view.
        SendMessageW(w, WM_VSCROLL, SB_BOTTOM, 0);
        const RECT save = PlaceOf(GetDlgItem(w, IDC_BTN_SAVE));
        EXPECT_TRUE(save.top >= 0 && save.bottom <= client.bottom);

        dlg.EndDialog(platform::kIdCancel);
    });
}

}  // namespace
}  // namespace ostrova::ui
