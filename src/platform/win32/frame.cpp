#include "platform/win32/dialog_window.h"

#include <algorithm>
#include <climits>
#include <optional>

#include "platform/win32/backend.h"
#include "platform/win32/dpi.h"
#include "platform/win32/wide_text.h"

namespace ostrova::platform::win32 {

void DialogWindow::MoveWindow(int x, int y, int width, int height) {
    placed_ = true;
    ::MoveWindow(hwnd_, x, y, width, height, TRUE);
}

DialogView::FormWidths DialogWindow::FormOuterWidths(bool scrollBar) const {
    // Where the template puts the controls, mapped as they are made (the controls may not be
    // there yet when the dialog places its window).
    LONG left = LONG_MAX, right = 0;
    for (const ControlTemplate& c : dlg_.dialogTemplate().controls) {
        RECT r{c.rect.x, c.rect.y, c.rect.w, c.rect.h};
        MapDialogRect(hwnd_, &r);
        left = std::min(left, r.left);
        right = std::max(right, r.left + r.right);
    }
    if (right == 0) return {};
    const int dpi = LayoutDpi(backend_.dpi(), hwnd_);
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE));
    RECT outer{0, 0, right, 1};
    FrameFor(backend_.dpi(), dpi, outer, style & ~WS_VSCROLL, exStyle);
    const int edge = outer.right - outer.left +
                     (scrollBar ? SystemMetricFor(backend_.dpi(), dpi, SM_CXVSCROLL) : 0);
    return {edge, edge + std::max<int>(left, 0)};
}

void DialogWindow::SetScrollInfo(const ScrollInfo& info, bool redraw) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = info.min;
    si.nMax = info.max;
    si.nPage = static_cast<UINT>(std::max(info.page, 0));
    si.nPos = info.pos;
    ::SetScrollInfo(hwnd_, SB_VERT, &si, redraw);
}

void DialogWindow::ScrollContent(int dy) {
    ScrollWindowEx(hwnd_, 0, dy, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

void DialogWindow::AppendSystemMenuCommand(int commandId, std::string_view text) {
    const HMENU menu = GetSystemMenu(hwnd_, FALSE);
    if (menu == nullptr) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(commandId), WideFromCp1252(text).c_str());
}

void DialogWindow::CentreOverOwner() {
    RECT owner{}, mine{};
    GetWindowRect(owner_, &owner);
    GetWindowRect(hwnd_, &mine);
    const int w = mine.right - mine.left;
    const int h = mine.bottom - mine.top;
    const int x = std::max<int>(0, owner.left + (owner.right - owner.left - w) / 2);
    const int y = std::max<int>(0, owner.top + (owner.bottom - owner.top - h) / 2);
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::optional<INT_PTR> DialogWindow::HandleFrameMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_VSCROLL:
            if (lp != 0) return FALSE;  // a scroll bar control's, not the window's own
            dlg_.UserVScroll(static_cast<ScrollRequest>(LOWORD(wp)), HIWORD(wp));
            return TRUE;
        case WM_MOUSEWHEEL:
            dlg_.UserMouseWheel(GET_WHEEL_DELTA_WPARAM(wp));
            return TRUE;
        case WM_SYSCOMMAND:
            // The program's own entries; move, size, close and the rest are the system's.
            if ((wp & 0xFFF0) >= 0xF000) return FALSE;
            dlg_.UserSysCommand(static_cast<int>(wp));
            return TRUE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(backend_.icon(true));
        case WM_PAINT: {
            if (!IsIconic(hwnd_)) return FALSE;
            // Minimised: the window's icon, centred.
            PAINTSTRUCT paint{};
            const HDC dc = BeginPaint(hwnd_, &paint);
            SendMessageW(hwnd_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            RECT client{};
            GetClientRect(hwnd_, &client);
            const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
            const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
            DrawIcon(dc, x, y, backend_.icon(true));
            EndPaint(hwnd_, &paint);
            return TRUE;
        }
        default:
            return std::nullopt;
    }
}

bool DialogWindow::WheelOverCombo(int index, WPARAM wp) {
    if (!IsCombo(dlg_.controls()[static_cast<std::size_t>(index)].kind)) return false;
    // Windows sends the wheel to the control under the pointer, and a closed combo box would
    // turn it into a pick: one without the focus hands it to the dialog, which scrolls, as in
    // the Linux program.
    const HWND combo = control(index);
    const HWND focus = GetFocus();
    const bool focused = focus == combo || (focus != nullptr && IsChild(combo, focus));
    if (focused || SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0) return false;
    if (!ended_) dlg_.UserMouseWheel(GET_WHEEL_DELTA_WPARAM(wp));
    return true;
}

}  // namespace ostrova::platform::win32
