// Screen scaling on Windows: the DPI a window is laid out at, and a layout that stays as it is
// when the window moves to a monitor of another DPI. The functions come from user32 at run
// time, as Windows 7 and 8 lack them.
#pragma once

#include "platform/win32/windows_api.h"

#include <span>

namespace ostrova::platform::win32 {

// The user32 functions per-monitor scaling needs, null where this Windows lacks them. Their
// handle and enumeration parameters are passed as the plain types they are.
struct DpiFunctions {
    UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
    void*(WINAPI* getWindowDpiAwarenessContext)(HWND) = nullptr;
    BOOL(WINAPI* areDpiAwarenessContextsEqual)(void*, void*) = nullptr;
    BOOL(WINAPI* setDialogDpiChangeBehavior)(HWND, int mask, int values) = nullptr;
    BOOL(WINAPI* setDialogControlDpiChangeBehavior)(HWND, int mask, int values) = nullptr;
    int(WINAPI* getSystemMetricsForDpi)(int index, UINT dpi) = nullptr;
    BOOL(WINAPI* adjustWindowRectExForDpi)
    (RECT*, DWORD style, BOOL menu, DWORD ex, UINT dpi) = nullptr;

    static DpiFunctions FromUser32();
};

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
inline void* const kPerMonitorAwareV2 = reinterpret_cast<void*>(static_cast<INT_PTR>(-4));
// DDC_DISABLE_ALL | DDC_DISABLE_RESIZE | DDC_DISABLE_CONTROL_RELAYOUT
inline constexpr int kDialogKeepsLayout = 0x1 | 0x2 | 0x4;
// DCDC_DISABLE_FONT_UPDATE | DCDC_DISABLE_RELAYOUT
inline constexpr int kControlKeepsLayout = 0x1 | 0x2;

// The DPI the dialog manager lays `window` out at: its monitor's under per-monitor v2
// awareness (Windows 10 1703 on), otherwise the system's, which the screen's device context
// reports.
int LayoutDpi(const DpiFunctions& dpi, HWND window);

// A system metric, and a client rectangle grown by the window's frame, for a window laid out at
// `dpi` (the system's values where this Windows knows only those).
int SystemMetricFor(const DpiFunctions& functions, int dpi, int index);
void FrameFor(const DpiFunctions& functions, int dpi, RECT& rect, DWORD style, DWORD exStyle);

// Keeps a dialog and its controls as they were laid out when the window moves to a monitor of
// another DPI. The dialog manager of Windows 10 1703 and later would rescale them by the ratio
// of the two DPIs; the main window's size and scroll range follow their own rules, for the
// DPI the window opened at.
void KeepLayoutOnDpiChange(const DpiFunctions& dpi, HWND dialog, std::span<const HWND> controls);

}  // namespace ostrova::platform::win32
