// The Win32 backend's own work, on real windows (under wine in CI): the template as the dialog
// manager builds it, notifications from the user's input only, refused input put back with its
// caret, the keys, Windows-1252 at the API boundary, Explorer's command line, the local clock.
// The form's rules and the dialog manager's are tested headless: here they only have to arrive.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ctime>
#include <atomic>
#include <cwchar>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/win32/backend.h"
#include "platform/win32/dialog_window.h"
#include "platform/win32/wide_text.h"

#include <commctrl.h>

namespace ostrova::platform::win32 {
namespace {

enum : int {
    kDigits = 10,
    kPlain,
    kRadioA,
    kRadioB,
    kCheck,
    kCombo,
    kButton,
    kLabel,
    kDropDown,
    kSecret
};
constexpr std::uint32_t kTab = kStyleTabStop, kGroup = kStyleGroup, kAuto = kStyleAuto;
constexpr ControlTemplate kControls[] = {
    ControlTemplate{kDigits, ControlKind::Edit, "", {10, 10, 60, 12}, kTab | kStyleBorder}.Taking({.digitsOnly = true}),
    // A recipient edit: multi-line style with sideways scrolling stays one line.
    {kPlain, ControlKind::Edit, "", {10, 30, 60, 12}, kTab | kStyleMultiLine | kStyleAutoHScroll},
    {kRadioA, ControlKind::RadioButton, "A", {10, 50, 40, 12}, kAuto | kGroup | kTab},
    {kRadioB, ControlKind::RadioButton, "B", {60, 50, 40, 12}, kAuto},
    {kCheck, ControlKind::CheckBox, "C", {10, 70, 40, 12}, kAuto | kTab | kGroup},
    {kCombo, ControlKind::ComboDropList, "", {10, 90, 60, 60}, kTab | kGroup},
    {kButton, ControlKind::PushButton, "Go", {80, 90, 40, 14}, kTab},
    {kLabel, ControlKind::Label, "Caf\xE9", {80, 10, 40, 9}, kGroup},
    {kDropDown, ControlKind::ComboDropDown, "", {80, 30, 50, 60}, kTab | kGroup},
    {kSecret, ControlKind::Edit, "", {80, 70, 50, 12}, kTab | kStyleBorder | kStylePassword},
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

// A real key press, with `held` down around it, as the keyboard gives it to the focused window.
void PressKey(WORD key, WORD held = 0) {
    std::vector<INPUT> in;
    for (WORD k : {held, key})
        if (k != 0) in.push_back({INPUT_KEYBOARD, {.ki = {k, 0, 0, 0, 0}}});
    for (WORD k : {key, held})
        if (k != 0) in.push_back({INPUT_KEYBOARD, {.ki = {k, 0, KEYEVENTF_KEYUP, 0, 0}}});
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

class Windows : public ::testing::Test {
protected:
    void SetUp() override { SetBackend(&backend_); }
    void TearDown() override { SetBackend(nullptr); }
    // Runs the dialog: `script` acts on the shown window, then what it posted is handled and
    // closing the window ends the dialog if nothing else did (unless the script closes it).
    int Run(CountingDlg& dlg, const std::function<void(HWND)>& script, bool close = true) {
        backend_.SetShownHook([&](DialogWindow& window) {
            script(window.hwnd());
            if (close && !dlg.ended()) PostMessageW(window.hwnd(), WM_CLOSE, 0, 0);
        });
        EXPECT_NE(dlg.DoModal(), -1) << "no window";
        return dlg.result();
    }
    LRESULT Send(HWND w, UINT m, WPARAM p = 0, LPARAM l = 0) { return SendMessageW(w, m, p, l); }
    std::wstring Text(HWND w) {
        wchar_t text[256] = {};
        return {text, static_cast<std::size_t>(GetWindowTextW(w, text, 256))};
    }
    // Types a character, or pastes the text from the clipboard.
    void Input(HWND edit, const wchar_t* text, bool paste) {
        if (!paste) return static_cast<void>(Send(edit, WM_CHAR, *text, 1));
        Clip(edit, text);
        Send(edit, WM_PASTE);
    }
    void Clip(HWND owner, const wchar_t* text) {
        const HGLOBAL memory = GlobalAlloc(GMEM_FIXED, (wcslen(text) + 1) * sizeof(wchar_t));
        std::wmemcpy(static_cast<wchar_t*>(memory), text, wcslen(text) + 1);  // handle = address
        ASSERT_TRUE(OpenClipboard(owner) && EmptyClipboard() &&
                    SetClipboardData(CF_UNICODETEXT, memory));
        CloseClipboard();
    }
    Win32Backend backend_{GetModuleHandleW(nullptr)};
};

TEST_F(Windows, ShowsTheTemplateAndCodeSilentlyAndHearsTheUser) {
    CountingDlg dlg;
    Run(dlg, [&](HWND w) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(Send(w, WM_GETFONT)), sizeof font, &font);
        EXPECT_EQ(std::tuple(Text(w), GetWindowLongW(w, GWL_STYLE) & WS_VSCROLL,
                             GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_APPWINDOW,
                             std::wstring(font.lfFaceName), font.lfHeight),
                  std::tuple(L"T\u00E9st", WS_VSCROLL, WS_EX_APPWINDOW, L"Arial",
                             -MulDiv(10, backend_.LogicalDpiX(), 72)));
        // Class, style bits, caption and place (mapped field by field as the dialog manager
        // does; a combo box is as high as its list).
        using Row = std::tuple<int, const wchar_t*, LONG, LONG, const wchar_t*>;
        for (const auto& [id, cls, mask, style, text] : {
                 Row{kPlain, L"Edit", ES_MULTILINE | ES_AUTOHSCROLL, ES_AUTOHSCROLL, L""},
                 // The framework ticks automatic buttons: natively they are plain ones.
                 Row{kRadioA, L"Button", BS_TYPEMASK | WS_GROUP, BS_RADIOBUTTON | WS_GROUP, L"A"},
                 Row{kCheck, L"Button", BS_TYPEMASK | WS_GROUP, BS_CHECKBOX | WS_GROUP, L"C"},
                 Row{kCombo, L"ComboBox", CBS_DROPDOWNLIST, CBS_DROPDOWNLIST, L""},
                 Row{kLabel, L"Static", SS_TYPEMASK, SS_LEFT, L"Caf\u00E9"},
             }) {
            const HWND control = GetDlgItem(w, id);
            const DluRect& r = kControls[dlg.IndexOf(id)].rect;
            RECT want{r.x, r.y, r.w, r.h}, got{};
            MapDialogRect(w, &want);
            GetWindowRect(control, &got);
            MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&got), 2);
            wchar_t name[32] = {};
            GetClassNameW(control, name, 32);
            EXPECT_EQ(std::tuple(std::wstring(name), GetWindowLongW(control, GWL_STYLE) & mask,
                                 Text(control), got.left, got.top, got.right - got.left,
                                 id == kCombo ? r.h : got.bottom - got.top),
                      std::tuple(cls, style, text, want.left, want.top, want.right,
                                 id == kCombo ? r.h : want.bottom));
        }

        const HWND plain = GetDlgItem(w, kPlain), combo = GetDlgItem(w, kCombo);
        const HWND a = GetDlgItem(w, kRadioA), b = GetDlgItem(w, kRadioB);
        // Code: a text of every byte from the space up (0x80 is the euro sign, 0x81 unassigned
        // and kept as U+0081), a check, a list and its selection, rendered without a
        // notification.
        std::string bytes;
        for (int c = 0x20; c < 0x100; ++c) bytes += static_cast<char>(c);
        dlg.SetItemText(kPlain, bytes);
        dlg.CheckItem(kRadioB, true);
        CComboBox list;
        dlg.Bind(list, kCombo);
        for (const char* item : {"one", "two", "three"}) list.AddString(item);
        list.SetCurSel(2);
        EXPECT_EQ(std::tuple(Text(plain).substr(0x80 - 0x20, 2), Send(b, BM_GETCHECK),
                             Send(combo, CB_GETCURSEL), dlg.heard.size()),
                  std::tuple(L"\u20AC\u0081", BST_CHECKED, 2, 0u));

        // The user: a key in an edit (S with caron is byte 0x8A), a click on a radio and on the
        // checked radio, a keyboard move in a closed list.
        SetFocus(plain);
        Send(plain, EM_SETSEL, 0, 0);
        Send(plain, WM_CHAR, 0x0160, 1);
        for (int click = 0; click < 2; ++click) Send(a, BM_CLICK);
        SetFocus(combo);
        Send(combo, WM_KEYDOWN, VK_UP, 1);
        EXPECT_EQ(dlg.ItemText(kPlain), "\x8A" + bytes);
        EXPECT_EQ(std::tuple(Send(a, BM_GETCHECK), Send(b, BM_GETCHECK), list.GetCurSel()),
                  std::tuple(BST_CHECKED, BST_UNCHECKED, 1));
        EXPECT_EQ(dlg.heard, (std::map<int, int>{{kPlain, 1}, {kRadioA, 2}, {kCombo, 1}}));
    });
}

TEST_F(Windows, RefusedTypingOrPastePutsTextAndCaretBack) {
    // A letter in a digits-only edit, a character outside Windows-1252: typed or pasted, the
    // edit keeps its text with the caret where it was.
    using Row = std::tuple<int, const char*, int, const wchar_t*, const wchar_t*, int>;
    CountingDlg dlg;
    Run(dlg, [&](HWND w) {
        for (bool paste : {false, true}) {
            for (const auto& [id, before, from, input, after, to] : {
                     Row{kDigits, "12", 1, L"x", L"12", 1},
                     Row{kDigits, "12", 1, L"3", L"132", 2},  // taken
                     Row{kPlain, "ab", 1, L"\u0394", L"ab", 1},
                 }) {
                const HWND edit = GetDlgItem(w, id);
                dlg.SetItemText(id, before);
                SetFocus(edit);
                Send(edit, EM_SETSEL, from, from);
                Input(edit, input, paste);
                EXPECT_EQ(std::tuple(Text(edit), Send(edit, EM_GETSEL), dlg.ItemText(id)),
                          std::tuple(after, MAKELRESULT(to, to), Utf8FromWide(after)))
                    << (paste ? "pasted into " : "typed into ") << id;
            }
        }
    });
}

// The toolkit is the oracle: the same random keys, from a small alphabet so that runs of equal
// characters are common, into a framework edit and into a plain EDIT beside it give the same
// text and selection after every key, the single toggling undo level included.
TEST_F(Windows, AnEditTypesCutsPastesAndUndoesAsAPlainEdit) {
    struct Key {
        UINT msg;
        WPARAM wp;
        BYTE modifier;  // held down while the key goes in
        const char* name;
    };
    const Key keys[] = {
        {WM_CHAR, '0', 0, "0"},
        {WM_CHAR, '0', 0, "0"},
        {WM_CHAR, '1', 0, "1"},
        {WM_CHAR, 'a', 0, "a"},
        {WM_CHAR, '@', 0, "@"},
        {WM_CHAR, VK_BACK, 0, "Backspace"},
        {WM_KEYDOWN, VK_DELETE, 0, "Delete"},
        {WM_KEYDOWN, VK_DELETE, VK_SHIFT, "Shift+Delete"},
        {WM_KEYDOWN, VK_LEFT, 0, "Left"},
        {WM_KEYDOWN, VK_RIGHT, 0, "Right"},
        {WM_KEYDOWN, VK_LEFT, VK_SHIFT, "Shift+Left"},
        {WM_KEYDOWN, VK_RIGHT, VK_SHIFT, "Shift+Right"},
        {WM_KEYDOWN, VK_HOME, 0, "Home"},
        {WM_KEYDOWN, VK_END, VK_SHIFT, "Shift+End"},
        {WM_CHAR, 0x18, 0, "Ctrl+X"},
        {WM_CHAR, 0x03, 0, "Ctrl+C"},
        {WM_CHAR, 0x16, 0, "Ctrl+V"},
        {WM_CHAR, 0x1A, 0, "Ctrl+Z"},
        {WM_CHAR, 0x1A, 0, "Ctrl+Z"},
        {WM_KEYDOWN, VK_INSERT, VK_SHIFT, "Shift+Insert"},
    };
    CountingDlg dlg;
    Run(dlg, [&](HWND w) {
        const HWND mine = GetDlgItem(w, kPlain);
        const HWND plain = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 80, 20,
                                           w, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetFocus(mine);
        Clip(mine, L"0a");  // then what the keys cut
        auto shown = [&](HWND e) {
            DWORD from = 0, to = 0;
            Send(e, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
            return std::tuple(Text(e), from, to);
        };
        std::mt19937 random(5);
        std::string typed;
        for (int step = 0; step < 3000; ++step) {
            const Key& k = keys[random() % std::size(keys)];
            typed = (typed.size() > 160 ? typed.substr(typed.size() - 160) : typed) + k.name + " ";
            BYTE state[256] = {};
            if (k.modifier != 0) state[k.modifier] = 0x80;
            SetKeyboardState(state);
            for (HWND e : {plain, mine}) Send(e, k.msg, k.wp, 1);
            SetKeyboardState(std::array<BYTE, 256>{}.data());
            ASSERT_EQ(shown(mine), shown(plain)) << "after ..." << typed;
        }
        EXPECT_EQ(Utf8FromWide(Text(mine)), dlg.ItemText(kPlain));
        DestroyWindow(plain);
    });
}

// An open drop-down list closes on Enter, keeping the entry the arrows moved to, and on Escape,
// as a plain drop-down combo box beside it does; the framework hears every selection the list
// shows, as the plain box's dialog does. Real key presses, through the dialog's own loop.
TEST_F(Windows, EnterAndEscapeCloseAnOpenListAsAPlainComboBox) {
    struct Seen {
        std::vector<int> picks;  // the plain box's selection at each notification that changed it
        std::vector<std::tuple<LRESULT, LRESULT, std::wstring>> states;  // dropped, pick, text
    };
    static Seen plain, mine;
    static HWND oracle;
    static std::atomic<int> paints;
    static CountingDlg* running;
    plain = mine = {};
    paints = 0;
    constexpr UINT kFocus = WM_APP, kSnapshot = WM_APP + 1;
    const SUBCLASSPROC watch = [](HWND w, UINT m, WPARAM p, LPARAM l, UINT_PTR, DWORD_PTR) {
        if (m == WM_PAINT) ++paints;
        if (m == kFocus) SetFocus(reinterpret_cast<HWND>(p));
        if (m == kSnapshot) {
            const HWND combo = p != 0 ? oracle : GetDlgItem(w, kDropDown);
            wchar_t text[32] = {};
            GetWindowTextW(combo, text, 32);
            (p != 0 ? plain : mine)
                .states.emplace_back(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0),
                                     SendMessageW(combo, CB_GETCURSEL, 0, 0), text);
            if (p == 0) {
                EXPECT_EQ(running->Item(kDropDown).selection, std::get<1>(mine.states.back()));
            }
        }
        if (m == WM_COMMAND && reinterpret_cast<HWND>(l) == oracle) {
            const int pick = static_cast<int>(SendMessageW(oracle, CB_GETCURSEL, 0, 0));
            if ((plain.picks.empty() ? 0 : plain.picks.back()) != pick) plain.picks.push_back(pick);
        }
        return DefSubclassProc(w, m, p, l);
    };
    CountingDlg dlg;
    running = &dlg;
    std::thread keys;
    Run(
        dlg,
        [&](HWND w) {
            CComboBox list;
            dlg.Bind(list, kDropDown);
            oracle = CreateWindowExW(0, L"COMBOBOX", L"",
                                     WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN, 200, 40, 80,
                                     120, w, nullptr, GetModuleHandleW(nullptr), nullptr);
            for (const char* item : {"one", "two", "three", "four"}) {
                list.AddString(item);
                Send(oracle, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(WideFromCp1252(item).c_str()));
            }
            list.SetCurSel(0);
            Send(oracle, CB_SETCURSEL, 0);
            SetWindowSubclass(w, watch, 1, 0);
            SetForegroundWindow(w);
            // Each key is awaited: the window paints only once its input is handled.
            keys = std::thread([w, combos = std::array{GetDlgItem(w, kDropDown), oracle}] {
                const auto settle = [w] {
                    const int before = paints;
                    RECT pixel{0, 0, 1, 1};
                    InvalidateRect(w, &pixel, FALSE);
                    for (int i = 0; i < 500 && paints == before; ++i) Sleep(10);
                };
                const auto press = [&](WORD key, WORD held = 0) { PressKey(key, held), settle(); };
                for (HWND combo : combos) {
                    const WPARAM isPlain = combo == combos[1];
                    SendMessageW(w, kFocus, reinterpret_cast<WPARAM>(GetWindow(combo, GW_CHILD)),
                                 0);
                    press(VK_F4), press(VK_DOWN), press(VK_DOWN), press(VK_RETURN);
                    SendMessageW(w, kSnapshot, isPlain, 0);
                    press(VK_DOWN, VK_MENU), press(VK_DOWN), press(VK_ESCAPE);
                    SendMessageW(w, kSnapshot, isPlain, 0);
                }
                PostMessageW(w, WM_CLOSE, 0, 0);
            });
        },
        false);
    keys.join();
    ASSERT_EQ(plain.states.size(), 2u);
    EXPECT_EQ(std::get<0>(plain.states.front()), 0) << "the plain list stayed open";
    EXPECT_EQ(mine.states, plain.states);
    EXPECT_EQ(dlg.picks, plain.picks);
}

// The edits' context menu is a plain EDIT's, item for item, caption for caption: Undo offered
// whenever Ctrl+Z would undo, Cut and Copy never in a password field, and each item changes the
// text as it changes the plain EDIT's. (Shift+F10 asks for the menu as this test does.)
TEST_F(Windows, TheEditMenuIsAPlainEditsAndGoesThroughTheFramework) {
    using Menu = std::vector<std::pair<std::wstring, bool>>;  // caption, enabled
    struct Seen {
        std::vector<Menu> menus;
        std::vector<std::wstring> texts;
    };
    std::array<std::pair<Seen, Seen>, 2> seen;  // the framework's edit and the plain one
    CountingDlg dlg;
    std::thread user;
    Run(
        dlg,
        [&](HWND w) {
            const auto plainEdit = [w](DWORD style) {
                return CreateWindowExW(0, L"EDIT", L"",
                                       WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | style, 200, 40, 80,
                                       20, w, nullptr, GetModuleHandleW(nullptr), nullptr);
            };
            const std::array pairs = {std::pair{GetDlgItem(w, kPlain), plainEdit(0)},
                                      std::pair{GetDlgItem(w, kSecret), plainEdit(ES_PASSWORD)}};
            SetForegroundWindow(w);
            user = std::thread([w, pairs, &seen] {
                const auto wait = [](auto done) {
                    for (int i = 0; i < 500 && !done(); ++i) Sleep(10);
                };
                // Opens the menu, reads it, then picks the item of `mnemonic` (Escape: none).
                const auto menu = [&](HWND edit, WORD mnemonic) {
                    PostMessageW(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit), -1);
                    HWND popup = nullptr;
                    wait([&] {
                        popup = FindWindowW(L"#32768", nullptr);
                        return popup != nullptr && IsWindowVisible(popup);
                    });
                    const auto handle =
                        reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
                    Menu items;
                    for (int i = 0; i < GetMenuItemCount(handle); ++i) {
                        wchar_t text[64] = {};
                        GetMenuStringW(handle, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
                        items.emplace_back(
                            text, (GetMenuState(handle, static_cast<UINT>(i), MF_BYPOSITION) &
                                   MF_GRAYED) == 0);
                    }
                    PressKey(mnemonic);
                    wait([&] { return IsWindowVisible(popup) == FALSE; });
                    Sleep(50);
                    return items;
                };
                // Undo twice (the one level toggles), Select All, then Cut or Delete, Paste, and a
                // last look with nothing chosen.
                const std::array<std::vector<WORD>, 2> items = {
                    std::vector<WORD>{'U', 'U', 'A', 'T', 'P', VK_ESCAPE},
                    std::vector<WORD>{'U', 'U', 'A', 'D', 'P', VK_ESCAPE}};
                for (std::size_t p = 0; p < pairs.size(); ++p) {
                    for (bool plain : {true, false}) {
                        const HWND edit = plain ? pairs[p].second : pairs[p].first;
                        Seen& s = plain ? seen[p].second : seen[p].first;
                        SendMessageW(w, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
                        if (OpenClipboard(nullptr)) EmptyClipboard(), CloseClipboard();
                        for (wchar_t c : std::wstring(L"ab")) SendMessageW(edit, WM_CHAR, c, 1);
                        for (WORD item : items[p]) {
                            s.menus.push_back(menu(edit, item));
                            wchar_t text[16] = {};
                            GetWindowTextW(edit, text, 16);
                            s.texts.emplace_back(text);
                        }
                    }
                }
                PostMessageW(w, WM_CLOSE, 0, 0);
            });
        },
        false);
    user.join();
    for (const auto& [mine, plain] : seen) {
        EXPECT_EQ(mine.menus, plain.menus);
        EXPECT_EQ(mine.texts, plain.texts);
    }
    EXPECT_EQ(seen[0].second.texts,
              (std::vector<std::wstring>{L"", L"ab", L"ab", L"", L"ab", L"ab"}));
    EXPECT_EQ(std::tuple(dlg.ItemText(kPlain), dlg.ItemText(kSecret)), std::tuple("ab", ""));
}

// A wheel turn over a closed combo box without the focus scrolls the dialog and picks nothing.
TEST_F(Windows, TheWheelOverAnUnfocusedComboScrollsTheDialog) {
    // Windows sends the wheel to the window under the pointer: the list box itself, or the
    // edit inside a drop-down combo box.
    CountingDlg dlg;
    Run(dlg, [&](HWND w) {
        CComboBox list, dropDown;
        dlg.Bind(list, kCombo);
        dlg.Bind(dropDown, kDropDown);
        for (CComboBox* box : {&list, &dropDown}) {
            for (const char* item : {"one", "two", "three"}) box->AddString(item);
            box->SetCurSel(1);
        }
        SetFocus(GetDlgItem(w, kPlain));
        const HWND dropDownEdit = GetWindow(GetDlgItem(w, kDropDown), GW_CHILD);
        for (HWND under : {GetDlgItem(w, kCombo), GetDlgItem(w, kDropDown), dropDownEdit})
            Send(under, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
        EXPECT_EQ(std::tuple(list.GetCurSel(), dropDown.GetCurSel(), Text(dropDownEdit), dlg.wheels,
                             dlg.heard),
                  std::tuple(1, 1, L"two", std::vector<int>(3, WHEEL_DELTA), std::map<int, int>{}));
    });
}

// Each key the dialog manager handles reaches it through the dialog's own loop: Tab and an
// arrow, which also ask the window to show its focus cues (hidden while it was started with the
// mouse), Enter and Escape. (Wine keeps no cue state to read back: what the window is asked is
// recorded instead.)
TEST_F(Windows, TheDialogManagersKeysReachItAndMovesShowTheFocusCues) {
    static std::vector<WPARAM> asked;
    const SUBCLASSPROC record = [](HWND w, UINT m, WPARAM p, LPARAM l, UINT_PTR, DWORD_PTR) {
        if (m == WM_CHANGEUISTATE) asked.push_back(p);
        return DefSubclassProc(w, m, p, l);
    };
    const std::vector<WPARAM> shown{MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS)};
    using Row = std::tuple<int, std::vector<WPARAM>, int, int, std::map<int, int>, bool>;
    for (const auto& [focus, keys, result, focused, heard, cues] : {
             Row{kPlain, {VK_TAB}, kIdCancel, kRadioB, {}, true},
             Row{kRadioB, {VK_LEFT, VK_RETURN}, kIdOk, kRadioA, {{kRadioA, 1}}, true},
             Row{kPlain, {VK_ESCAPE}, kIdCancel, kPlain, {}, false},
         }) {
        asked.clear();
        CountingDlg dlg;
        const int got = Run(dlg, [&](HWND w) {
            SetWindowSubclass(w, record, 1, 0);
            dlg.CheckItem(kRadioB, true);
            SetFocus(GetDlgItem(w, focus));
            for (WPARAM key : keys) PostMessageW(GetDlgItem(w, focus), WM_KEYDOWN, key, 1);
        });
        EXPECT_EQ(std::tuple(got, dlg.focusedId(), dlg.heard, asked),
                  std::tuple(result, focused, heard, cues ? shown : std::vector<WPARAM>{}));
    }
}

// Explorer by its full path in the Windows folder, never found through the search path (which
// looks in the program's folder and the current folder first).
TEST_F(Windows, ExplorerByItsFullPathSelectsTheFileFiltersEndTwiceAndTheClockIsLocal) {
    std::wstring program, command;
    backend_.SetFileManagerLauncher([&](const std::wstring& exe, const std::wstring& line) {
        program = exe;
        command = line;
    });
    backend_.ShowInFileManager(L"C:\\Карта памяти\\wireless.cfg");
    wchar_t windows[MAX_PATH] = {};
    ASSERT_NE(GetSystemWindowsDirectoryW(windows, MAX_PATH), 0u);
    const std::wstring explorer = std::wstring(windows) + L"\\explorer.exe";
    EXPECT_EQ(program, explorer);
    EXPECT_NE(GetFileAttributesW(program.c_str()), INVALID_FILE_ATTRIBUTES) << "it is there";
    EXPECT_EQ(command, L"\"" + explorer + L"\" /e,/select,\"C:\\Карта памяти\\wireless.cfg\"");
    EXPECT_EQ(NativeFilter("Config (*.cfg)|*.cfg|All (*.*)|*.*|"),
              std::wstring(L"Config (*.cfg)\0*.cfg\0All (*.*)\0*.*\0\0", 36));
    std::tm now = backend_.LocalTime();
    EXPECT_LT(std::abs(std::difftime(std::mktime(&now), std::time(nullptr))), 5.0);
}

}  // namespace
}  // namespace ostrova::platform::win32
