// The Win32 backend's own work, on real windows (under wine in CI): the template as the dialog
// manager builds it, notifications from the user's input only, refused input put back with its
// caret, the keys reaching the dialog manager, the wheel over a list, Windows-1252 at the API
// boundary, Explorer's command line.
// The form's rules and the dialog manager's are tested headless: here they only have to arrive.
#include <array>
#include <cwchar>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/wide_text.h"
#include "win32/harness.h"

namespace ostrova::platform::win32 {
namespace {

constexpr int kDigits = 10, kPlain = 11, kRadioA = 12, kRadioB = 13, kCombo = 14, kLabel = 15,
              kDropDown = 16;
constexpr std::uint32_t kTab = kStyleTabStop, kGroup = kStyleGroup, kAuto = kStyleAuto;
constexpr ControlTemplate kControls[] = {
    ControlTemplate{kDigits, ControlKind::Edit, "", {10, 10, 60, 12}, kTab | kStyleBorder}.Taking(
        {.digitsOnly = true}),
    // A recipient edit: multi-line style with sideways scrolling stays one line.
    {kPlain, ControlKind::Edit, "", {10, 30, 60, 12}, kTab | kStyleMultiLine | kStyleAutoHScroll},
    {kRadioA, ControlKind::RadioButton, "A", {10, 50, 40, 12}, kAuto | kGroup | kTab},
    {kRadioB, ControlKind::RadioButton, "B", {60, 50, 40, 12}, kAuto},
    {kCombo, ControlKind::ComboDropList, "", {10, 90, 60, 60}, kTab | kGroup},
    {kLabel, ControlKind::Label, "Caf\xE9", {80, 10, 40, 9}, kGroup},
    {kDropDown, ControlKind::ComboDropDown, "", {80, 30, 50, 60}, kTab | kGroup},
};
// With its own scroll bar, shown in the task bar.
constexpr DialogTemplate kDialog = {900, "T\xE9st", 140, 120, "Arial", 10, true, true, kControls};

// A dialog that counts the notifications reaching its handlers, per control.
struct CountingDlg : CDialog {
    CountingDlg() : CDialog(kDialog) {
        for (Notify n : {Notify::Changed, Notify::Clicked, Notify::SelChange})
            for (int id = kDigits; id <= kDropDown; ++id)
                if (id != kLabel)
                    On(id, n, [this, id, n] {
                        ++heard[id];
                        if (n == Notify::SelChange) picks.push_back(Item(id).selection);
                    });
    }
    void OnMouseWheel(int delta) override { wheels.push_back(delta); }
    std::map<int, int> heard;
    std::vector<int> picks;  // the selection each pick left
    std::vector<int> wheels;
};

using Windows = Win32Test;

TEST_F(Windows, ShowsTheTemplateAndCodeSilentlyHearsTheUserAndPutsRefusedInputBack) {
    std::vector<WPARAM> asked;  // the focus cues the window is asked to show or hide
    onMessage_ = [&](UINT m, WPARAM p, LPARAM) {
        if (m == WM_CHANGEUISTATE) asked.push_back(p);
    };
    CountingDlg dlg;
    Run(dlg, [&](HWND w) {
        // The title, and the task bar's button. (The font and the scroll bar make the main
        // window's frame, measured at each DPI in frame_dpi_test.cpp.)
        EXPECT_EQ(std::tuple(Text(w), GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_APPWINDOW),
                  std::tuple(L"T\u00E9st", WS_EX_APPWINDOW));
        // Class, style bits, caption and place (mapped field by field as the dialog manager
        // does; a combo box is as high as its list). The framework ticks automatic buttons:
        // natively they are plain ones.
        using Row = std::tuple<int, const wchar_t*, LONG, LONG, const wchar_t*>;
        for (const auto& [id, cls, mask, style, text] : {
                 Row{kPlain, L"Edit", ES_MULTILINE | ES_AUTOHSCROLL, ES_AUTOHSCROLL, L""},
                 Row{kRadioA, L"Button", BS_TYPEMASK | WS_GROUP, BS_RADIOBUTTON | WS_GROUP, L"A"},
                 Row{kCombo, L"ComboBox", CBS_DROPDOWNLIST, CBS_DROPDOWNLIST, L""},
                 Row{kLabel, L"Static", SS_TYPEMASK, SS_LEFT, L"Caf\u00E9"},
             }) {
            const HWND control = GetDlgItem(w, id);
            const DluRect& r = kControls[dlg.IndexOf(id)].rect;
            RECT want{r.x, r.y, r.w, r.h};
            MapDialogRect(w, &want);
            const RECT got = PlaceOf(control);
            wchar_t name[32] = {};
            GetClassNameW(control, name, 32);
            EXPECT_EQ(std::tuple(std::wstring(name), GetWindowLongW(control, GWL_STYLE) & mask,
                                 Text(control), got.left, got.top, got.right - got.left,
                                 id == kCombo ? r.h : got.bottom - got.top),
                      std::tuple(cls, style, text, want.left, want.top, want.right,
                                 id == kCombo ? r.h : want.bottom));
        }

        // Code: a text of every byte from the space up (0x80 is the euro sign, 0x81 unassigned
        // and kept as U+0081), a check, and lists with their selection, rendered without a
        // notification.
        const HWND plain = GetDlgItem(w, kPlain), b = GetDlgItem(w, kRadioB);
        std::string bytes;
        for (int c = 0x20; c < 0x100; ++c) bytes += static_cast<char>(c);
        dlg.SetItemText(kPlain, bytes);
        dlg.CheckItem(kRadioB, true);
        CComboBox list, dropDown;
        dlg.Bind(list, kCombo);
        dlg.Bind(dropDown, kDropDown);
        for (CComboBox* box : {&list, &dropDown}) {
            for (const char* item : {"one", "two", "three"}) box->AddString(item);
            box->SetCurSel(1);
        }
        EXPECT_EQ(std::tuple(Text(plain).substr(0x80 - 0x20, 2), Send(b, BM_GETCHECK), dlg.heard),
                  std::tuple(L"\u20AC\u0081", BST_CHECKED, std::map<int, int>{}));
        // The user, heard: a key in an edit (S with caron is byte 0x8A) and a click. Not heard:
        // a wheel turn over a closed combo box without the focus, which scrolls the dialog and
        // picks nothing. Windows sends it to the window under the pointer: the list box itself,
        // or the edit inside a drop-down combo box.
        SetFocus(plain);
        Send(plain, EM_SETSEL, 0, 0);
        Send(plain, WM_CHAR, 0x0160, 1);
        Send(GetDlgItem(w, kRadioA), BM_CLICK);
        const HWND dropDownEdit = GetWindow(GetDlgItem(w, kDropDown), GW_CHILD);
        for (HWND under : {GetDlgItem(w, kCombo), GetDlgItem(w, kDropDown), dropDownEdit})
            Send(under, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
        EXPECT_EQ(std::tuple(dlg.ItemText(kPlain), Send(b, BM_GETCHECK), dlg.heard),
                  std::tuple("\x8A" + bytes, BST_UNCHECKED,
                             std::map<int, int>{{kPlain, 1}, {kRadioA, 1}}));
        EXPECT_EQ(
            std::tuple(list.GetCurSel(), dropDown.GetCurSel(), Text(dropDownEdit), dlg.wheels),
            std::tuple(1, 1, L"two", std::vector<int>(3, WHEEL_DELTA)));
        // Refused input, a letter typed into the digits-only edit and a character outside
        // Windows-1252 pasted: the native edit shows its text again with the caret where it
        // was. (Which input is refused is the form's rule, tested headless.)
        Clip(plain, L"\u0394");
        for (const auto& [id, message] :
             {std::pair(kDigits, WM_CHAR), std::pair(kPlain, WM_PASTE)}) {
            const HWND edit = GetDlgItem(w, id);
            dlg.SetItemText(id, "12");
            SetFocus(edit);
            Send(edit, EM_SETSEL, 1, 1);
            Send(edit, message, 'x', 1);  // the letter typed; a paste takes no key
            EXPECT_EQ(std::tuple(Text(edit), Send(edit, EM_GETSEL), dlg.ItemText(id)),
                      std::tuple(L"12", MAKELRESULT(1, 1), "12"))
                << id;
        }
        // Tab reaches the dialog manager through the dialog's own loop (where it moves is the
        // dialog manager's rule, tested headless) and asks the window to show its focus cues,
        // hidden while it was started with the mouse. Wine keeps no cue state to read back:
        // what the window is asked is recorded instead.
        SetFocus(plain);
        asked.clear();
        PostMessageW(plain, WM_KEYDOWN, VK_TAB, 1);
    });
    EXPECT_EQ(std::tuple(dlg.focusedId(), asked),
              std::tuple(kRadioA, std::vector<WPARAM>{MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS)}));
}

// The toolkit is the oracle: the same random keys, from a small alphabet so that runs of equal
// characters are common, into a framework edit and into a plain EDIT beside it give the same
// text and selection after every key, the single toggling undo level included.
TEST_F(Windows, AnEditTypesCutsPastesAndUndoesAsAPlainEdit) {
    using Key = std::tuple<UINT, WPARAM, BYTE, const char*>;  // message, key, held around, name
    const Key keys[] = {
        {WM_CHAR, '0', 0, "0"},
        {WM_CHAR, 'a', 0, "a"},
        {WM_CHAR, VK_BACK, 0, "Backspace"},
        {WM_KEYDOWN, VK_DELETE, 0, "Delete"},
        {WM_KEYDOWN, VK_DELETE, VK_SHIFT, "Shift+Delete"},
        {WM_KEYDOWN, VK_LEFT, 0, "Left"},
        {WM_KEYDOWN, VK_LEFT, VK_SHIFT, "Shift+Left"},
        {WM_KEYDOWN, VK_HOME, 0, "Home"},
        {WM_KEYDOWN, VK_END, VK_SHIFT, "Shift+End"},
        {WM_CHAR, 0x18, 0, "Ctrl+X"},
        {WM_CHAR, 0x16, 0, "Ctrl+V"},
        {WM_CHAR, 0x1A, 0, "Ctrl+Z"},
        {WM_KEYDOWN, VK_INSERT, VK_SHIFT, "Shift+Insert"},
    };
    CountingDlg dlg;
    Run(dlg, [&](HWND w) {
        const HWND mine = GetDlgItem(w, kPlain), plain = Plain(w, L"EDIT", ES_AUTOHSCROLL);
        SetFocus(mine);
        Clip(mine, L"0a");  // then what the keys cut
        std::mt19937 random(5);
        for (int step = 0; step < 3000; ++step) {
            const auto& [message, key, held, name] = keys[random() % std::size(keys)];
            BYTE state[256] = {};
            if (held != 0) state[held] = 0x80;
            SetKeyboardState(state);
            for (HWND e : {plain, mine}) Send(e, message, key, 1);
            SetKeyboardState(std::array<BYTE, 256>{}.data());
            ASSERT_EQ(ShownBy(mine), ShownBy(plain)) << "step " << step << ": " << name;
        }
        EXPECT_EQ(Utf8FromWide(Text(mine)), dlg.ItemText(kPlain));
    });
}

// An open drop-down list closes on Enter, keeping the entry the arrows moved to, and on Escape,
// as a plain drop-down combo box beside it does; the framework hears every selection the list
// shows, as the plain box's dialog does. Real key presses, through the dialog's own loop.
TEST_F(Windows, EnterAndEscapeCloseAnOpenListAsAPlainComboBox) {
    std::vector<int> picks;  // the plain box's selection at each notification that changed it
    std::array<std::vector<std::tuple<LRESULT, LRESULT, std::wstring>>, 2> states;  // mine, plain
    CountingDlg dlg;
    CComboBox list;
    std::array<HWND, 2> combos{};
    Run(
        dlg,
        [&](HWND w) {
            dlg.Bind(list, kDropDown);
            combos = {GetDlgItem(w, kDropDown), Plain(w, L"COMBOBOX", WS_VSCROLL | CBS_DROPDOWN)};
            for (const char* item : {"one", "two", "three", "four"}) {
                list.AddString(item);
                Send(combos[1], CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(WideFromCp1252(item).c_str()));
            }
            list.SetCurSel(0);
            Send(combos[1], CB_SETCURSEL, 0);
            onMessage_ = [&](UINT m, WPARAM, LPARAM from) {
                if (m != WM_COMMAND || reinterpret_cast<HWND>(from) != combos[1]) return;
                const auto pick = static_cast<int>(Send(combos[1], CB_GETCURSEL));
                if ((picks.empty() ? 0 : picks.back()) != pick) picks.push_back(pick);
            };
        },
        [&](HWND w) {
            for (std::size_t i = 0; i < combos.size(); ++i) {
                // Dropped, selection and text, read on the dialog's thread. (What the framework
                // holds is what it heard, compared below.)
                const auto look = [&] {
                    states[i].emplace_back(Send(combos[i], CB_GETDROPPEDSTATE),
                                           Send(combos[i], CB_GETCURSEL), Text(combos[i]));
                };
                OnDialogThread(w, [&] { SetFocus(GetWindow(combos[i], GW_CHILD)); });
                Press(w, VK_F4), Press(w, VK_DOWN), Press(w, VK_DOWN), Press(w, VK_RETURN);
                OnDialogThread(w, look);
                Press(w, VK_DOWN, VK_MENU), Press(w, VK_DOWN), Press(w, VK_ESCAPE);
                OnDialogThread(w, look);
            }
        });
    EXPECT_EQ(std::get<0>(states[1].at(0)), 0) << "the plain list stayed open";
    EXPECT_EQ(states[0], states[1]);
    EXPECT_EQ(dlg.picks, picks);
}

// The edit's context menu is a plain EDIT's, item for item, caption for caption: Undo offered
// whenever Ctrl+Z would undo, and each item leaves the text and selection as it leaves the plain
// EDIT's. (Shift+F10 asks for the menu as this does.)
TEST_F(Windows, TheEditMenuIsAPlainEditsAndGoesThroughTheFramework) {
    using Menu = std::vector<std::pair<std::wstring, bool>>;  // caption, enabled
    std::array<std::vector<std::pair<Menu, Shown>>, 2> seen;  // after each pick, mine and plain
    std::array<HWND, 2> edits{};
    CountingDlg dlg;
    Run(
        dlg,
        [&](HWND w) {
            edits = {GetDlgItem(w, kPlain), Plain(w, L"EDIT", ES_AUTOHSCROLL)};
        },
        [&](HWND w) {
            for (std::size_t e = 0; e < edits.size(); ++e) {
                Send(w, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edits[e]), TRUE);
                if (OpenClipboard(nullptr)) EmptyClipboard(), CloseClipboard();
                for (wchar_t c : std::wstring(L"ab")) Send(edits[e], WM_CHAR, c, 1);
                // Undo twice (the one level toggles), Select All, Cut, Paste, and a last look
                // with nothing chosen (Escape).
                for (wchar_t item : std::wstring(L"UUATP\x1B")) {
                    PostMessageW(edits[e], WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edits[e]), -1);
                    HWND popup = nullptr;
                    WaitUntil([&] {
                        popup = FindWindowW(L"#32768", nullptr);
                        return popup != nullptr && IsWindowVisible(popup);
                    });
                    const auto menu = reinterpret_cast<HMENU>(Send(popup, MN_GETHMENU));
                    Menu items;
                    for (UINT i = 0; i < static_cast<UINT>(GetMenuItemCount(menu)); ++i) {
                        wchar_t text[64] = {};
                        GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
                        items.emplace_back(text,
                                           (GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED) == 0);
                    }
                    Press(w, item);
                    WaitUntil([&] { return IsWindowVisible(popup) == FALSE; });
                    seen[e].emplace_back(items, ShownBy(edits[e]));
                }
            }
        });
    EXPECT_EQ(seen[0], seen[1]);
    std::wstring texts;  // what the plain EDIT showed after each pick
    for (const auto& [menu, shown] : seen[1]) texts += L"[" + std::get<0>(shown) + L"]";
    EXPECT_EQ(texts, L"[][ab][ab][][ab][ab]");
    EXPECT_EQ(dlg.ItemText(kPlain), "ab");
}

// Explorer by its full path in the Windows folder, never found through the search path (which
// looks in the program's folder and the current folder first).
TEST_F(Windows, ExplorerByItsFullPathSelectsTheFile) {
    std::pair<std::wstring, std::wstring> started;  // program, command line
    backend_.SetFileManagerLauncher([&](auto& program, auto& line) { started = {program, line}; });
    backend_.ShowInFileManager(L"C:\\Карта памяти\\wireless.cfg");
    wchar_t windows[MAX_PATH] = {};
    ASSERT_NE(GetSystemWindowsDirectoryW(windows, MAX_PATH), 0u);
    const std::wstring explorer = std::wstring(windows) + L"\\explorer.exe";
    EXPECT_EQ(started,
              std::pair(explorer,
                        L"\"" + explorer + L"\" /e,/select,\"C:\\Карта памяти\\wireless.cfg\""));
    EXPECT_NE(GetFileAttributesW(explorer.c_str()), INVALID_FILE_ATTRIBUTES) << "it is there";
}

}  // namespace
}  // namespace ostrova::platform::win32
