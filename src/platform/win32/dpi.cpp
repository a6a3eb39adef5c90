#include "platform/win32/dpi.h"

namespace ostrova::platform::win32 {
namespace {

template <class Function>
void Lookup(HMODULE module, const char* name, Function& function) {
    // Through the generic function type, which converts to any other without a warning.
    function =
        reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

int SystemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace

DpiFunctions DpiFunctions::FromUser32() {
    DpiFunctions f;
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) return f;
    Lookup(user32, "GetDpiForWindow", f.getDpiForWindow);
    Lookup(user32, "GetWindowDpiAwarenessContext", f.getWindowDpiAwarenessContext);
    Lookup(user32, "AreDpiAwarenessContextsEqual", f.areDpiAwarenessContextsEqual);
    Lookup(user32, "SetDialogDpiChangeBehavior", f.setDialogDpiChangeBehavior);
    Lookup(user32, "SetDialogControlDpiChangeBehavior", f.setDialogControlDpiChangeBehavior);
    Lookup(user32, "GetSystemMetricsForDpi", f.getSystemMetricsForDpi);
    Lookup(user32, "AdjustWindowRectExForDpi", f.adjustWindowRectExForDpi);
    return f;
}

int LayoutDpi(const DpiFunctions& dpi, HWND window) {
    // Per-monitor v1 (Windows 8.1 to 10 1607) has GetDpiForWindow but lays dialogs out at the
    // system DPI; only v2 scales them to their monitor.
    if (window == nullptr || dpi.getDpiForWindow == nullptr ||
        dpi.getWindowDpiAwarenessContext == nullptr || dpi.areDpiAwarenessContextsEqual == nullptr)
        return SystemDpi();
    void* const context = dpi.getWindowDpiAwarenessContext(window);
    if (context == nullptr || !dpi.areDpiAwarenessContextsEqual(context, kPerMonitorAwareV2))
        return SystemDpi();
    const UINT monitorDpi = dpi.getDpiForWindow(window);
    return monitorDpi != 0 ? static_cast<int>(monitorDpi) : SystemDpi();
}

void KeepLayoutOnDpiChange(const DpiFunctions& dpi, HWND dialog, std::span<const HWND> controls) {
    if (dpi.setDialogDpiChangeBehavior != nullptr)
        dpi.setDialogDpiChangeBehavior(dialog, kDialogKeepsLayout, kDialogKeepsLayout);
    if (dpi.setDialogControlDpiChangeBehavior == nullptr) return;
    for (const HWND control : controls) {
        if (control != nullptr)
            dpi.setDialogControlDpiChangeBehavior(control, kControlKeepsLayout,
                                                  kControlKeepsLayout);
    }
}

int SystemMetricFor(const DpiFunctions& functions, int dpi, int index) {
    if (functions.getSystemMetricsForDpi != nullptr)
        return functions.getSystemMetricsForDpi(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}

void FrameFor(const DpiFunctions& functions, int dpi, RECT& rect, DWORD style, DWORD exStyle) {
    if (functions.adjustWindowRectExForDpi != nullptr &&
        functions.adjustWindowRectExForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        return;
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

}  // namespace ostrova::platform::win32
