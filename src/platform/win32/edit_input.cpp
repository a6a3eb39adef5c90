#include "platform/win32/dialog_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cassert>
#include <string>

#include "platform/win32/edit_menu.h"
#include "platform/win32/wide_text.h"

namespace ostrova::platform::win32 {
namespace {

bool IsInput(UINT msg) {
    return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) ||
           (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_PASTE || msg == WM_CUT ||
           msg == WM_CLEAR || msg == WM_UNDO || msg == EM_UNDO || msg == WM_IME_CHAR;
}

}  // namespace

// An edit's messages in its subclass: its menu and its changes go through the framework, and
// the caret and selection the user's other input leaves are reported.
std::optional<LRESULT> DialogWindow::HandleEditMessage(int index, HWND edit, UINT msg, WPARAM wp,
                                                       LPARAM lp) {
    if (msg == WM_CONTEXTMENU && syncing_ == 0 && !ended_) {
        ShowEditMenu(index, edit, lp);
        return 0;
    }
    if (syncing_ == 0 && !ended_) {
        if (const auto handled = HandleEditInput(index, edit, msg, wp)) return *handled;
    }
    if (!IsInput(msg)) return std::nullopt;
    if (syncing_ == 0 && !ended_) ReportEditSelection(index);
    const LRESULT result = DefSubclassProc(edit, msg, wp, lp);
    if (ended_) return result;
    if (syncing_ == 0) ReportEditSelection(index);
    return result;
}

void DialogWindow::ReportEditSelection(int index) {
    const HWND edit = EditOf(index);
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    // Caret moves inside a change in progress belong to that change.
    if (edit == nullptr || WindowText(edit) != WideFromCp1252(s.text)) return;
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (static_cast<int>(start) != std::min(s.anchor, s.caret) ||
        static_cast<int>(end) != std::max(s.anchor, s.caret))
        dlg_.UserSetEditSelection(s.id, static_cast<int>(start), static_cast<int>(end));
}

std::optional<LRESULT> DialogWindow::HandleEditInput(int index, HWND edit, UINT msg, WPARAM wp) {
    const bool changes = msg == WM_CHAR || msg == WM_IME_CHAR || msg == WM_PASTE || msg == WM_CUT ||
                         msg == WM_CLEAR || msg == WM_UNDO || msg == EM_UNDO || msg == EM_CANUNDO ||
                         (msg == WM_KEYDOWN && (wp == VK_DELETE || wp == VK_INSERT));
    if (!changes) return std::nullopt;  // the edit's own: moves, selections, its queries
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const int lo = static_cast<int>(start), hi = static_cast<int>(end);
    const int length = GetWindowTextLengthW(edit);
    const bool password = (s.style & kStylePassword) != 0;
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    auto cut = [&] {
        if (lo == hi || password) return;  // a password is never put on the clipboard
        DefSubclassProc(edit, WM_COPY, 0, 0);
        ReplaceByUser(index, lo, hi, L"", EditKind::Delete);
    };
    switch (msg) {
        case WM_CHAR:
        case WM_IME_CHAR: {
            const auto c = static_cast<wchar_t>(wp);
            switch (c) {
                case 0x01:  // Ctrl+A and Ctrl+C: the edit's own, they change no text
                case 0x03:
                    return std::nullopt;
                case L'\t':
                case L'\n':
                case L'\r':
                case 0x1B:
                    // A combo box's edit hands Enter and Escape to its open list, which closes;
                    // a single-line edit ignores them, as it does Tab.
                    if (IsCombo(s.kind)) return std::nullopt;
                    return 0;
                case 0x08:
                    if (lo < hi)
                        ReplaceByUser(index, lo, hi, L"", EditKind::Backspace);
                    else if (lo > 0)
                        ReplaceByUser(index, lo - 1, lo, L"", EditKind::Backspace);
                    return 0;
                case 0x16:
                    PasteByUser(index, edit);
                    return 0;
                case 0x18:
                    cut();
                    return 0;
                case 0x1A:
                    dlg_.UserUndo(s.id);
                    CheckOneText(index);
                    return 0;
                default:
                    break;
            }
            if (IS_HIGH_SURROGATE(c)) {
                highSurrogate_ = c;
                return 0;
            }
            std::wstring typed(1, c);
            if (IS_LOW_SURROGATE(c) && highSurrogate_ != 0)
                typed.insert(typed.begin(), highSurrogate_);
            highSurrogate_ = 0;
            const std::string before = s.text;
            ReplaceByUser(index, lo, hi, typed, EditKind::Typing);
            // A letter refused by a digits-only edit goes on to the edit itself, which refuses
            // it too and tells the user why in its own tip.
            const bool digit = c >= L'0' && c <= L'9';
            if (s.rule.digitsOnly && !digit &&
                dlg_.controls()[static_cast<std::size_t>(index)].text == before)
                DefSubclassProc(edit, msg, wp, 0);
            return 0;
        }
        case WM_KEYDOWN:
            if (wp == VK_DELETE) {
                if (lo < hi) {
                    shift ? cut() : ReplaceByUser(index, lo, hi, L"", EditKind::Delete);
                } else if (shift) {
                    if (lo > 0) ReplaceByUser(index, lo - 1, lo, L"", EditKind::Backspace);
                } else if (hi < length) {
                    ReplaceByUser(index, hi, ctrl ? length : hi + 1, L"",
                                  ctrl ? EditKind::RemoveRange : EditKind::Delete);
                }
                return 0;
            }
            if (wp == VK_INSERT && shift && !ctrl) {
                PasteByUser(index, edit);
                return 0;
            }
            return std::nullopt;
        case WM_PASTE:
            PasteByUser(index, edit);
            return 0;
        case WM_CUT:
            cut();
            return 0;
        case WM_CLEAR:
            if (lo < hi) ReplaceByUser(index, lo, hi, L"", EditKind::Delete);
            return 0;
        case WM_UNDO:
        case EM_UNDO:
            dlg_.UserUndo(s.id);
            CheckOneText(index);
            return TRUE;
        case EM_CANUNDO:
            return dlg_.CanUndo(s.id) ? TRUE : FALSE;
        default:
            return std::nullopt;
    }
}

// The edit's own menu would ask the edit's undo buffer, which the framework keeps empty: the
// same items are offered by the framework's state, and each goes through the framework as its
// key does.
void DialogWindow::ShowEditMenu(int index, HWND edit, LPARAM at) {
    if (GetFocus() != edit) SetFocus(edit);
    ReportEditSelection(index);
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    const int from = std::min(s.anchor, s.caret), to = std::max(s.anchor, s.caret);
    const EditMenuState state{
        .editable = s.enabled && (s.style & kStyleReadOnly) == 0,
        .canUndo = dlg_.CanUndo(s.id),
        .selection = from < to,
        .wholeText = from == 0 && to == static_cast<int>(s.text.size()),
        .password = (s.style & kStylePassword) != 0,
    };
    const POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    const UINT chosen = TrackEditMenu(edit, state, point);
    if (chosen == 0 || ended_) return;
    if (chosen == EM_SETSEL) {
        SendMessageW(edit, EM_SETSEL, 0, -1);
        ReportEditSelection(index);
    } else {
        SendMessageW(edit, chosen, 0, 0);  // through this subclass, as the keys go
    }
}

void DialogWindow::ReplaceByUser(int index, int start, int end, std::wstring_view text,
                                 EditKind kind) {
    ReportEditSelection(index);  // the selection the change replaces
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    dlg_.UserReplace(s.id, start, end, Utf8FromWide(text), kind);
    CheckOneText(index);
}

void DialogWindow::PasteByUser(int index, HWND edit) {
    std::wstring text;
    if (OpenClipboard(edit)) {
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                text = chars;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    // A single-line edit takes the first line of what is pasted.
    text = text.substr(0, text.find_first_of(L"\r\n"));
    if (text.empty()) return;
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    ReplaceByUser(index, static_cast<int>(start), static_cast<int>(end), text, EditKind::Paste);
}

void DialogWindow::CheckOneText(int index) {
    if (ended_) return;
    const HWND edit = EditOf(index);
    if (edit == nullptr) return;
    const bool same =
        WindowText(edit) == WideFromCp1252(dlg_.controls()[static_cast<std::size_t>(index)].text);
    if (!same) ++textMismatches_;
    assert(same && "the edit shows another text than the framework's");
}

}  // namespace ostrova::platform::win32
