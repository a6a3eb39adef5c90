#include "platform/win32/edit_menu.h"

#include <array>
#include <string>

namespace ostrova::platform::win32 {
namespace {

struct Item {
    UINT message;  // 0: a separator
    const wchar_t* fallback;
};

constexpr std::array<Item, 8> kItems = {{
    {EM_UNDO, L"&Undo"},
    {0, nullptr},
    {WM_CUT, L"Cu&t"},
    {WM_COPY, L"&Copy"},
    {WM_PASTE, L"&Paste"},
    {WM_CLEAR, L"&Delete"},
    {0, nullptr},
    {EM_SETSEL, L"Select &All"},
}};

// The caption the system's own edit menu gives an item, in the user's language; the English one
// where the system keeps no such menu.
std::wstring Caption(HMENU system, const Item& item) {
    wchar_t text[64] = {};
    for (UINT id : {item.message, item.message == EM_UNDO ? UINT{WM_UNDO} : item.message}) {
        if (system != nullptr && GetMenuStringW(system, id, text, 64, MF_BYCOMMAND) > 0)
            return text;
    }
    return item.fallback;
}

}  // namespace

UINT TrackEditMenu(HWND edit, const EditMenuState& state, POINT at) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    HMENU resource = LoadMenuW(user32, L"EDITMENU");
    if (resource == nullptr) resource = LoadMenuW(user32, MAKEINTRESOURCEW(1));
    const HMENU system = resource != nullptr ? GetSubMenu(resource, 0) : nullptr;

    const bool clipboard = IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
    const HMENU menu = CreatePopupMenu();
    for (const Item& item : kItems) {
        if (item.message == 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        bool enabled = false;
        switch (item.message) {
            case EM_UNDO:
                enabled = state.editable && state.canUndo;
                break;
            case WM_CUT:
                enabled = state.editable && state.selection && !state.password;
                break;
            case WM_COPY:
                enabled = state.selection && !state.password;
                break;
            case WM_PASTE:
                enabled = state.editable && clipboard;
                break;
            case WM_CLEAR:
                enabled = state.editable && state.selection;
                break;
            default:
                enabled = !state.wholeText;
                break;
        }
        AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), item.message,
                    Caption(system, item).c_str());
    }
    if (resource != nullptr) DestroyMenu(resource);

    if (at.x == -1 && at.y == -1) {
        RECT r{};
        GetWindowRect(edit, &r);
        at = {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
    }
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                       at.y, 0, edit, nullptr));
    DestroyMenu(menu);
    return chosen;
}

}  // namespace ostrova::platform::win32
