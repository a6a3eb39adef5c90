// Drives the real ostrova-settings.exe from outside as a user would: finds the window and its
// controls by caption and class, clicks, types through posted key presses, saves, confirms the
// message and closes the window. Exit status 0 when every step was seen to take effect.
// Usage: drive_program.exe MAXNUM
//        drive_program.exe --edits: the edits of a phone number and of Max Num that once saved
//        something other than what was typed; Phone1 ends as 4670 and Max Num as 5.
//        drive_program.exe --story: the story both programs are told, saved as wireless.cfg.
// Before <windows.h>, whose IDOK and IDCANCEL macros would clash with the constants.
#include "res/resource_ids.h"
#include "support/story.h"

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

// Characters as the program's loop makes them of key presses (Backspace too: wine makes no
// character of a posted Backspace); selections as the mouse makes them.
void Chars(HWND edit, const std::wstring& text) {
    for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
}
void Select(HWND edit, int from, int to) {
    PostMessageW(edit, EM_SETSEL, from, to);
}

// The message box the program shows now, with what it says; closed with OK.
bool Answer(HWND main, const std::wstring& expected) {
    HWND box = nullptr;
    if (!WaitFor([&] {
            box = FindWindowW(L"#32770", L"ostrova-settings");
            return box != nullptr && GetWindow(box, GW_OWNER) == main;
        }))
        return false;
    bool said = false;
    for (HWND text = nullptr; (text = FindWindowExW(box, text, L"Static", nullptr)) != nullptr;)
        said = said || Text(text) == expected;
    Click(GetDlgItem(box, IDOK));
    return said && WaitFor([&] { return IsWindow(box) == FALSE; });
}

// Edits inside runs of equal characters, over selections, refused keys and undo.
int Edits(HWND main) {
    const HWND phone = GetDlgItem(main, ostrova::res::IDC_EDIT_PHONE1);
    const HWND maxNum = GetDlgItem(main, ostrova::res::IDC_EDIT_MAXNUM);
    Click(GetDlgItem(main, ostrova::res::IDC_CHECK_PHONE1));
    if (!WaitFor([&] { return IsWindowEnabled(phone) != FALSE; })) return Fail("Phone1 stayed off");
    Click(phone);
    struct Row {
        const wchar_t* stood;
        void (*did)(HWND);
        const wchar_t* shows;
    };
    const Row rows[] = {
        {L"5550000", [](HWND e) { Select(e, 5, 5), Chars(e, L"\b1"); }, L"5550100"},
        {L"0044", [](HWND e) { Press(e, VK_HOME), Press(e, VK_DELETE), Chars(e, L"5"); }, L"5044"},
        {L"123456789012345678", [](HWND e) { Select(e, 3, 3), Chars(e, L"78\b"); },
         L"123456789012345678"},
        {L"5551234", [](HWND e) { Select(e, 0, -1), Chars(e, L"4670\x1A"); }, L"5551234"},
        {L"5551234", [](HWND e) { Select(e, 0, -1), Chars(e, L"4670"); }, L"4670"},
    };
    for (const Row& row : rows) {
        Select(phone, 0, -1);
        Chars(phone, row.stood);
        if (!WaitFor([&] { return Text(phone) == row.stood; }))
            return Fail("a field did not stand");
        Press(phone, VK_END);
        row.did(phone);
        if (!WaitFor([&] { return Text(phone) == row.shows; })) {
            std::fprintf(stderr, "shows %ls, expected %ls\n", Text(phone).c_str(), row.shows);
            return Fail("an edit gave another text than a plain field's");
        }
    }
    // The fifth digit of Max Num goes in, is refused with its message and stays selected, so
    // the next digit replaces it.
    Click(maxNum);
    Select(maxNum, 0, -1);
    Chars(maxNum, L"9999");
    if (!WaitFor([&] { return Text(maxNum) == L"9999"; })) return Fail("Max Num did not stand");
    Press(maxNum, VK_END);
    Chars(maxNum, L"9");
    if (!Answer(main, L"Please input a number within 9999! ")) return Fail("no message for 99999");
    Chars(maxNum, L"5");
    if (!WaitFor([&] { return Text(maxNum) == L"5"; })) return Fail("the refused number stayed");
    return 0;
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
                Click(control);
                Select(control, 0, -1);
                Chars(control, text);
                if (!WaitFor([&] { return Text(control) == text; })) return Fail("typing was lost");
                break;
            case Act::Pick: {
                Click(control);  // the focus goes to the box's edit; the list stays closed
                const HWND edit = GetWindow(control, GW_CHILD);
                for (int steps = 0; Text(control) != text; ++steps) {
                    const std::wstring was = Text(control);
                    Press(edit, VK_DOWN);
                    if (steps == 200 || !WaitFor([&] { return Text(control) != was; })) {
                        std::fprintf(stderr, "stopped at %ls\n", was.c_str());
                        return Fail("the list did not reach the entry");
                    }
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
    // What the box says, for the log: "Save <path> OK!" or why the save failed.
    for (HWND text = nullptr; (text = FindWindowExW(box, text, L"Static", nullptr)) != nullptr;)
        if (!Text(text).empty()) std::printf("message: %ls\n", Text(text).c_str());
    Click(GetDlgItem(box, IDOK));
    if (!WaitFor([&] { return IsWindow(box) == FALSE; })) return Fail("the message box stayed");

    PostMessageW(main, WM_CLOSE, 0, 0);
    if (!WaitFor([&] { return IsWindow(main) == FALSE; })) return Fail("the window did not close");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Fail("usage: drive_program.exe MAXNUM|--edits|--story");
    const std::string number = argv[1];
    HWND main = nullptr;
    if (!WaitFor([&] { return (main = FindWindowW(L"#32770", L"Ostrova+  v0.8")) != nullptr; }))
        return Fail("the main window did not appear");
    if (!WaitFor([&] { return IsWindowVisible(main) != FALSE; })) return Fail("not shown");

    if (number == "--story") {
        if (const int failed = Story(main)) return failed;
        return Save(main);
    }
    const HWND instant = FindWindowExW(main, nullptr, L"Button", L"Instant");
    Click(instant);
    if (!WaitFor([&] { return SendMessageW(instant, BM_GETCHECK, 0, 0) == BST_CHECKED; }))
        return Fail("Instant did not get checked");

    const HWND maxNum = GetDlgItem(main, ostrova::res::IDC_EDIT_MAXNUM);
    if (!WaitFor([&] { return IsWindowEnabled(maxNum) != FALSE; }))
        return Fail("Max Num stayed disabled");
    if (number == "--edits") {
        if (const int failed = Edits(main)) return failed;
    } else {
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
    }

    return Save(main);
}
