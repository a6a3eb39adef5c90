// Drives the real ostrova-settings.exe from outside as a user would: finds the window and its
// controls, tells it the story both programs are told (clicks, typing, picks from the lists),
// saves, confirms the message and closes the window. Exit status 0 when every step was seen to
// take effect. Usage: drive_program.exe
// Before <windows.h>, whose IDOK and IDCANCEL macros would clash with the constants.
#include "res/resource_ids.h"
#include "support/story.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// Up to 30 seconds.
template <class Predicate>
bool WaitFor(Predicate done) {
    for (int i = 0; i < 1500; ++i, Sleep(20))
        if (done()) return true;
    return false;
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

int Fail(const char* what) {
    std::fprintf(stderr, "drive_program: %s\n", what);
    return 1;
}

std::wstring Wide(const char* utf8) {
    wchar_t buffer[256] = {};
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, buffer, 256);
    return buffer;
}

// The shared story, each step awaited: the program's loop handles posted input in turn.
int Story(HWND main) {
    using ostrova::story::Act;
    for (const ostrova::story::Step& step : ostrova::story::kSteps) {
        const HWND control = GetDlgItem(main, step.id);
        const std::wstring text = Wide(step.text);
        if (!WaitFor([&] { return IsWindowEnabled(control) != FALSE; }))
            return Fail("a control of the story stayed disabled");
        switch (step.act) {
            case Act::Click: {
                const LRESULT was = SendMessageW(control, BM_GETCHECK, 0, 0);
                Click(control);
                if (!WaitFor([&] { return SendMessageW(control, BM_GETCHECK, 0, 0) != was; }))
                    return Fail("a click was not taken");
                break;
            }
            case Act::Type:
                // The text selected as the mouse would, then characters as the program's loop
                // makes them of key presses.
                Click(control);
                PostMessageW(control, EM_SETSEL, 0, -1);
                for (wchar_t c : text) PostMessageW(control, WM_CHAR, c, 1);
                if (!WaitFor([&] { return Text(control) == text; })) return Fail("typing was lost");
                break;
            case Act::Pick: {
                Click(control);  // the focus goes to the box's edit; the list stays closed
                const HWND edit = GetWindow(control, GW_CHILD);
                for (int steps = 0; Text(control) != text; ++steps) {
                    const std::wstring was = Text(control);
                    PostMessageW(edit, WM_KEYDOWN, VK_DOWN, 1);  // Down, pressed and released
                    PostMessageW(edit, WM_KEYUP, VK_DOWN, 1 | (1u << 30) | (1u << 31));
                    if (steps == 200 || !WaitFor([&] { return Text(control) != was; }))
                        return Fail("the list did not reach the entry");
                }
                break;
            }
        }
    }
    return 0;
}

// Save, the message it gives, and the window closed.
int Save(HWND main) {
    Click(FindWindowExW(main, nullptr, L"Button", L"Save"));

    // "Save ... OK!" in a box titled with the program's name, owned by the main window.
    HWND box = nullptr;
    if (!WaitFor([&] {
            box = FindWindowW(L"#32770", L"ostrova-settings");
            return box != nullptr && GetWindow(box, GW_OWNER) == main;
        }))
        return Fail("no message box after Save");
    Click(GetDlgItem(box, IDOK));
    if (!WaitFor([&] { return IsWindow(box) == FALSE; })) return Fail("the message box stayed");

    PostMessageW(main, WM_CLOSE, 0, 0);
    if (!WaitFor([&] { return IsWindow(main) == FALSE; })) return Fail("the window did not close");
    return 0;
}

}  // namespace

int main() {
    HWND main = nullptr;
    if (!WaitFor([&] { return (main = FindWindowW(L"#32770", L"Ostrova+  v0.8")) != nullptr; }))
        return Fail("the main window did not appear");
    if (!WaitFor([&] { return IsWindowVisible(main) != FALSE; })) return Fail("not shown");
    if (const int failed = Story(main)) return failed;
    return Save(main);
}
