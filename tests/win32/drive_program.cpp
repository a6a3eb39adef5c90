// Drives the real ostrova-settings.exe from outside as a user would: finds the window and its
// controls by caption and class, clicks, types through posted key presses, saves, confirms the
// message and closes the window. Exit status 0 when every step was seen to take effect.
// Usage: drive_program.exe MAXNUM
// Before <windows.h>, whose IDOK and IDCANCEL macros would clash with the constants.
#include "res/resource_ids.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

constexpr auto kPatience = std::chrono::seconds(30);

template <class Predicate>
bool WaitFor(Predicate done) {
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::wstring Text(HWND hwnd) {
    wchar_t buffer[512] = {};
    SendMessageW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

// A click as the mouse gives it, at the middle of the control.
void Click(HWND control) {
    RECT r{};
    GetClientRect(control, &r);
    const LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
}

// A key press: the program's own loop turns it into characters.
void Press(HWND control, WPARAM key) {
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

int Fail(const char* what) {
    std::fprintf(stderr, "drive_program: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Fail("usage: drive_program.exe MAXNUM");
    const std::string number = argv[1];
    HWND main = nullptr;
    if (!WaitFor([&] { return (main = FindWindowW(L"#32770", L"Ostrova+  v0.8")) != nullptr; }))
        return Fail("the main window did not appear");
    if (!WaitFor([&] { return IsWindowVisible(main) != FALSE; })) return Fail("not shown");

    const HWND instant = FindWindowExW(main, nullptr, L"Button", L"Instant");
    Click(instant);
    if (!WaitFor([&] { return SendMessageW(instant, BM_GETCHECK, 0, 0) == BST_CHECKED; }))
        return Fail("Instant did not get checked");

    const HWND maxNum = GetDlgItem(main, ostrova::res::IDC_EDIT_MAXNUM);
    if (!WaitFor([&] { return IsWindowEnabled(maxNum) != FALSE; }))
        return Fail("Max Num stayed disabled");
    // The field holds "0": an emptied number field is refused at once, so type behind the
    // zero first, then delete it. The program's loop posts each key's character behind what
    // is queued already, so every key is awaited before the next, as typing by hand is.
    Click(maxNum);
    Press(maxNum, VK_END);
    std::wstring expected = L"0";
    for (char c : number) {
        Press(maxNum, static_cast<WPARAM>(c));
        expected += static_cast<wchar_t>(c);
        if (!WaitFor([&] { return Text(maxNum) == expected; })) return Fail("a key got lost");
    }
    Press(maxNum, VK_HOME);
    Press(maxNum, VK_DELETE);
    if (!WaitFor([&] { return Text(maxNum) == expected.substr(1); }))
        return Fail("the number did not arrive");

    Click(FindWindowExW(main, nullptr, L"Button", L"Save"));

    // "Save ... OK!" in a box titled with the program's name, owned by the main window.
    HWND box = nullptr;
    if (!WaitFor([&] {
            box = FindWindowW(L"#32770", L"ostrova-settings");
            return box != nullptr && GetWindow(box, GW_OWNER) == main;
        }))
        return Fail("no message box after Save");
    // What the box says, for the log: "Save <path> OK!" or why the save failed.
    for (HWND text = nullptr; (text = FindWindowExW(box, text, L"Static", nullptr)) != nullptr;)
        if (!Text(text).empty()) std::printf("message: %ls\n", Text(text).c_str());
    Click(GetDlgItem(box, IDOK));
    if (!WaitFor([&] { return IsWindow(box) == FALSE; })) return Fail("the message box stayed");

    PostMessageW(main, WM_CLOSE, 0, 0);
    if (!WaitFor([&] { return IsWindow(main) == FALSE; })) return Fail("the window did not close");
    return 0;
}
