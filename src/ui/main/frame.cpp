// The main window's frame: size by screen, scrolling on short screens, system-menu entry.
#include "res/resource_ids.h"
#include "res/strings.h"
#include "ui/dialogs/about_dlg.h"
#include "ui/main/frame_metrics.h"
#include "ui/main/settings_dlg.h"

namespace ostrova::ui {

using platform::ScrollInfo;
using platform::ScrollRequest;

// Horizontal logical DPI of the main window's display, read once at initialisation.
int g_nLogPixelsX = 96;

void CSettingsDlg::FrameSetUp() {
    const std::string_view about = res::LoadStringResource(res::IDS_ABOUTBOX);
    if (!about.empty()) AppendSystemMenuCommand(res::IDM_ABOUTBOX, about);

    const int screenHeight = services().PrimaryScreenHeight();
    g_nLogPixelsX = services().LogicalDpiX();
    const FrameMetrics m = ComputeFrameMetrics(screenHeight, g_nLogPixelsX);
    MoveWindow(0, 0, m.width, m.height);  // always the screen's top-left corner
    ScrollInfo info;
    if (m.scrollEnabled) {
        info.max = m.scrollMax;
        info.page = m.scrollPage;
    }
    SetScrollInfo(info, true);
    m_bScrollEnabled = m.scrollEnabled ? 1 : 0;
}

void CSettingsDlg::OnSysCommand(int commandId) {
    if (((commandId & 0xFFFF) & 0xFFF0) == res::IDM_ABOUTBOX) {
        CAboutDlg about(this);
        about.DoModal();
    }
}

// Stores the new position and moves the content; thumb tracking moves first.
void CSettingsDlg::ScrollTo(int newPos, int move, bool moveFirst) {
    ScrollInfo info = GetScrollInfo();
    if (moveFirst) ScrollWindow(move);
    info.pos = newPos;
    SetScrollInfo(info, true);
    if (!moveFirst) ScrollWindow(move);
}

// One step up or down, stopping at the minimum or at maximum - page; the content moves by
// exactly what the position moved.
void CSettingsDlg::ScrollBy(int step) {
    const ScrollInfo info = GetScrollInfo();
    const int p = info.pos;
    if (step < 0) {
        if (p >= -step) ScrollTo(p + step, -step, false);
        else ScrollTo(info.min, p, false);
        return;
    }
    const int last = info.max - info.page;
    if (p + step <= last) ScrollTo(p + step, -step, false);
    else ScrollTo(last, -(last - p), false);
}

void CSettingsDlg::OnVScroll(ScrollRequest request, int thumbPos) {
    const ScrollInfo info = GetScrollInfo();
    const int p = info.pos;
    const int last = info.max - info.page;
    switch (request) {
        case ScrollRequest::LineUp: ScrollBy(-10); break;
        case ScrollRequest::LineDown: ScrollBy(10); break;
        case ScrollRequest::PageUp: ScrollBy(-20); break;
        case ScrollRequest::PageDown: ScrollBy(20); break;
        case ScrollRequest::ThumbTrack:
            ScrollTo(thumbPos, p - thumbPos, true);
            break;
        // Top and Bottom go to either end, one pixel of content per unit like the others.
        case ScrollRequest::Top:
            ScrollTo(info.min, p - info.min, false);
            break;
        case ScrollRequest::Bottom:
            if (last > p) ScrollTo(last, -(last - p), false);
            break;
        default:
            break;
    }
}

void CSettingsDlg::OnMouseWheel(int delta) {
    if (m_bScrollEnabled != 1) return;
    // A wheel turn away from the user scrolls up; a delta of 0 scrolls down.
    const int step = WheelStep(g_nLogPixelsX);
    ScrollBy(delta > 0 ? -step : step);
}

}  // namespace ostrova::ui
