// What the Win32 backend's tests share: the backend installed around each test, a dialog run with
// a script on its shown window, a user who works the window from a thread of their own with real
// key presses, and plain Windows controls put beside the framework's as oracles.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cwchar>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/win32/backend.h"
#include "platform/win32/dialog_window.h"

#include <commctrl.h>

namespace ostrova::platform::win32 {

class Win32Test : public ::testing::Test {
protected:
    using Shown = std::tuple<std::wstring, DWORD, DWORD>;  // an edit's text and selection

    void SetUp() override { SetBackend(&backend_); }
    void TearDown() override { SetBackend(nullptr); }

    // Runs the dialog: `script` acts on the shown window. Without `user`, the window is then
    // closed unless the dialog ended. With `user`, the user works the window from a thread of
    // their own while the dialog's loop handles the input, and closes it when done.
    int Run(CDialog& dlg, const std::function<void(HWND)>& script,
            const std::function<void(HWND)>& user = nullptr) {
        std::thread thread;
        backend_.SetShownHook([&](DialogWindow& window) {
            const HWND w = window.hwnd();
            SetWindowSubclass(w, Watch, 1, reinterpret_cast<DWORD_PTR>(this));
            script(w);
            if (user) {
                SetForegroundWindow(w);
                thread = std::thread([&user, w] {
                    user(w);
                    PostMessageW(w, WM_CLOSE, 0, 0);
                });
            } else if (!dlg.ended()) {
                PostMessageW(w, WM_CLOSE, 0, 0);
            }
        });
        EXPECT_NE(dlg.DoModal(), -1) << "no window";
        if (thread.joinable()) thread.join();
        return dlg.result();
    }

    // From the user's thread: a real key press, with `held` down around it, as the keyboard
    // gives it to the focused window, awaited (the window paints only once its input is
    // handled); and a call made on the dialog's thread.
    void Press(HWND w, WORD key, WORD held = 0) {
        const int before = paints_;
        std::vector<INPUT> in;
        for (WORD k : {held, key})
            if (k != 0) in.push_back({INPUT_KEYBOARD, {.ki = {k, 0, 0, 0, 0}}});
        for (WORD k : {key, held})
            if (k != 0) in.push_back({INPUT_KEYBOARD, {.ki = {k, 0, KEYEVENTF_KEYUP, 0, 0}}});
        SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
        InvalidateRect(w, nullptr, FALSE);
        WaitUntil([&] { return paints_ != before; });
    }
    static void OnDialogThread(HWND w, const std::function<void()>& call) {
        SendMessageW(w, kCall, reinterpret_cast<WPARAM>(&call), 0);
    }
    template <class Done>
    static void WaitUntil(Done done) {
        for (int i = 0; i < 500 && !done(); ++i) Sleep(10);
    }

    // A plain control of Windows' own `cls` in the dialog, beside the framework's.
    static HWND Plain(HWND dialog, const wchar_t* cls, DWORD style) {
        return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 200, 40, 80, 120, dialog,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    static void Clip(HWND owner, const wchar_t* text) {  // onto the clipboard
        const HGLOBAL memory = GlobalAlloc(GMEM_FIXED, (wcslen(text) + 1) * sizeof(wchar_t));
        std::wmemcpy(static_cast<wchar_t*>(memory), text, wcslen(text) + 1);  // handle = address
        ASSERT_TRUE(OpenClipboard(owner) && EmptyClipboard() &&
                    SetClipboardData(CF_UNICODETEXT, memory));
        CloseClipboard();
    }
    static LRESULT Send(HWND w, UINT m, WPARAM p = 0, LPARAM l = 0) {
        return SendMessageW(w, m, p, l);
    }
    static std::wstring Text(HWND w) {
        wchar_t text[256] = {};
        return {text, static_cast<std::size_t>(GetWindowTextW(w, text, 256))};
    }
    static Shown ShownBy(HWND edit) {
        DWORD from = 0, to = 0;
        Send(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        return {Text(edit), from, to};
    }
    // Where a control stands in the dialog's client area (a combo box without its list).
    static RECT PlaceOf(HWND control) {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static int SystemDpi() {
        const HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        return dpi;
    }

    Win32Backend backend_{GetModuleHandleW(nullptr)};
    std::function<void(UINT, WPARAM, LPARAM)> onMessage_;  // each message the dialog gets

private:
    static constexpr UINT kCall = WM_APP + 100;
    static LRESULT CALLBACK Watch(HWND w, UINT m, WPARAM p, LPARAM l, UINT_PTR, DWORD_PTR self) {
        Win32Test& test = *reinterpret_cast<Win32Test*>(self);
        if (m == WM_PAINT) ++test.paints_;
        if (m == kCall) (*reinterpret_cast<const std::function<void()>*>(p))();
        if (test.onMessage_) test.onMessage_(m, p, l);
        return DefSubclassProc(w, m, p, l);
    }
    std::atomic<int> paints_{0};
};

}  // namespace ostrova::platform::win32
