// The Win32 backend's own work: the templates as the dialog manager reads them, notifications
// from the user's input only, refused input put back, and Windows-1252 at the API boundary.
// The form's rules are tested headless; these run real windows (under wine in CI).
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <string>

#include "platform/cp1252.h"
#include "platform/win32/dialog_template_win32.h"
#include "platform/win32/dialog_window.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_backend.h"
#include "res/templates.h"

namespace ostrova::platform::win32 {
namespace {

// --- The in-memory template ------------------------------------------------------------------

class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::uint16_t Word() {
        const auto v = static_cast<std::uint16_t>(bytes_.at(pos_) | bytes_.at(pos_ + 1) << 8);
        pos_ += 2;
        return v;
    }
    std::uint32_t Dword() {
        const std::uint32_t low = Word();
        return low | static_cast<std::uint32_t>(Word()) << 16;
    }
    std::uint8_t Byte() { return bytes_.at(pos_++); }
    std::wstring Text() {
        std::wstring text;
        for (std::uint16_t c = Word(); c != 0; c = Word()) text += static_cast<wchar_t>(c);
        return text;
    }
    void AlignDword() { pos_ = (pos_ + 3) & ~std::size_t{3}; }
    std::size_t pos() const { return pos_; }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t pos_ = 0;
};

class TemplateBytes : public ::testing::TestWithParam<int> {};

TEST_P(TemplateBytes, ReadBackAsTheDialogManagerReadsThem) {
    const DialogTemplate& tpl = *res::FindTemplate(GetParam());
    const std::vector<std::uint8_t> bytes = BuildDialogTemplate(tpl);
    Reader r(bytes);
    EXPECT_EQ(r.Word(), 1);       // dlgVer
    EXPECT_EQ(r.Word(), 0xFFFF);  // the extended form
    r.Dword();                    // helpID
    EXPECT_EQ(r.Dword(), NativeDialogExStyle(tpl));
    const std::uint32_t style = r.Dword();
    EXPECT_NE(style & DS_SETFONT, 0u);
    EXPECT_EQ((style & WS_VSCROLL) != 0, tpl.vscroll);
    ASSERT_EQ(r.Word(), tpl.controls.size());
    r.Word();
    r.Word();
    EXPECT_EQ(r.Word(), tpl.width);
    EXPECT_EQ(r.Word(), tpl.height);
    EXPECT_EQ(r.Word(), 0);  // menu
    EXPECT_EQ(r.Word(), 0);  // class
    EXPECT_EQ(r.Text(), WideFromCp1252(tpl.title));
    EXPECT_EQ(r.Word(), 10);  // points
    EXPECT_EQ(r.Word(), FW_NORMAL);
    EXPECT_EQ(r.Byte(), 0);
    r.Byte();
    EXPECT_EQ(r.Text(), L"Times New Roman");

    for (const ControlTemplate& c : tpl.controls) {
        SCOPED_TRACE(c.id);
        r.AlignDword();
        const NativeControlStyle n = NativeStyleOf(c);
        r.Dword();
        EXPECT_EQ(r.Dword(), n.exStyle);
        const std::uint32_t itemStyle = r.Dword();
        EXPECT_EQ(itemStyle, n.style);
        EXPECT_EQ((itemStyle & WS_TABSTOP) != 0, (c.style & kStyleTabStop) != 0);
        EXPECT_EQ((itemStyle & WS_GROUP) != 0, (c.style & kStyleGroup) != 0);
        EXPECT_EQ(r.Word(), c.rect.x);
        EXPECT_EQ(r.Word(), c.rect.y);
        EXPECT_EQ(r.Word(), c.rect.w);
        EXPECT_EQ(r.Word(), c.rect.h);
        EXPECT_EQ(static_cast<int>(r.Dword()), c.id);
        EXPECT_EQ(r.Word(), 0xFFFF);
        EXPECT_EQ(r.Word(), n.classAtom);
        if (c.kind == ControlKind::Icon) {
            EXPECT_EQ(r.Word(), 0xFFFF);
            EXPECT_EQ(r.Word(), 128);
        } else {
            const bool captioned = c.kind != ControlKind::Edit &&
                                   c.kind != ControlKind::ComboDropDown &&
                                   c.kind != ControlKind::ComboDropList;
            EXPECT_EQ(r.Text(), captioned ? WideFromCp1252(c.text) : L"");
        }
        EXPECT_EQ(r.Word(), 0);  // creation data
    }
    EXPECT_EQ(r.pos(), bytes.size());
}

INSTANTIATE_TEST_SUITE_P(AllDialogs, TemplateBytes,
                         ::testing::Values(100, 102, 129, 130, 131, 132));

TEST(Styles, KindsBecomeTheirNativeClassesAndStyles) {
    struct Case {
        ControlKind kind;
        std::uint32_t flags;
        std::uint16_t atom;
        std::uint32_t typeMask;
        std::uint32_t type;
    };
    const std::array cases = {
        Case{ControlKind::PushButton, kStyleDefault, 0x80, BS_TYPEMASK, BS_DEFPUSHBUTTON},
        // The framework ticks automatic buttons: natively they are plain ones.
        Case{ControlKind::RadioButton, kStyleAuto, 0x80, BS_TYPEMASK, BS_RADIOBUTTON},
        Case{ControlKind::CheckBox, kStyleAuto, 0x80, BS_TYPEMASK, BS_CHECKBOX},
        Case{ControlKind::GroupBox, 0, 0x80, BS_TYPEMASK, BS_GROUPBOX},
        Case{ControlKind::Label, kStyleCenterV, 0x82, SS_CENTERIMAGE, SS_CENTERIMAGE},
        Case{ControlKind::Edit, kStylePassword, 0x81, ES_PASSWORD | ES_MULTILINE, ES_PASSWORD},
        // Recipient edits: multi-line style with sideways scrolling stays one line.
        Case{ControlKind::Edit, kStyleMultiLine | kStyleAutoHScroll, 0x81, ES_MULTILINE, 0},
        Case{ControlKind::Edit, kStyleMultiLine | kStyleReadOnly, 0x81, ES_MULTILINE | ES_READONLY,
             ES_MULTILINE | ES_READONLY},
        Case{ControlKind::ComboDropDown, 0, 0x85, 3, CBS_DROPDOWN},
        Case{ControlKind::ComboDropList, 0, 0x85, 3, CBS_DROPDOWNLIST},
    };
    for (const Case& c : cases) {
        const NativeControlStyle n = NativeStyleOf({1, c.kind, "", {}, c.flags});
        EXPECT_EQ(n.classAtom, c.atom) << static_cast<int>(c.kind);
        EXPECT_EQ(n.style & c.typeMask, c.type) << static_cast<int>(c.kind);
    }
    EXPECT_EQ(NativeFilter("Config (*.cfg)|*.cfg|All (*.*)|*.*|"),
              std::wstring(L"Config (*.cfg)\0*.cfg\0All (*.*)\0*.*\0\0", 36));
}

TEST(Services, ExplorerGetsTheWidePathQuoted) {
    Win32Backend backend(GetModuleHandleW(nullptr));
    std::wstring command;
    backend.SetFileManagerLauncher([&](const std::wstring& line) { command = line; });
    backend.ShowInFileManager(std::filesystem::path(L"C:\\Карта памяти\\wireless.cfg"));
    EXPECT_EQ(command, L"explorer.exe /e,/select,\"C:\\Карта памяти\\wireless.cfg\"");
    EXPECT_EQ(backend.AppName(), "win32_tests");  // the executable's name without .exe
}

// --- Real windows ----------------------------------------------------------------------------

enum : int {
    kDigits = 10,
    kPlain = 11,
    kRadioA = 20,
    kRadioB = 21,
    kCheck = 30,
    kCombo = 40,
    kButton = 50
};

constexpr std::array kControls = {
    ControlTemplate{kDigits,
                    ControlKind::Edit,
                    "",
                    {10, 10, 60, 12},
                    kStyleTabStop | kStyleBorder | kStyleDigits},
    ControlTemplate{kPlain,
                    ControlKind::Edit,
                    "",
                    {10, 30, 60, 12},
                    kStyleTabStop | kStyleBorder | kStyleAutoHScroll},
    ControlTemplate{kRadioA,
                    ControlKind::RadioButton,
                    "A",
                    {10, 50, 40, 12},
                    kStyleAuto | kStyleGroup | kStyleTabStop},
    ControlTemplate{kRadioB, ControlKind::RadioButton, "B", {60, 50, 40, 12}, kStyleAuto},
    ControlTemplate{kCheck,
                    ControlKind::CheckBox,
                    "C",
                    {10, 70, 40, 12},
                    kStyleAuto | kStyleTabStop | kStyleGroup},
    ControlTemplate{kCombo, ControlKind::ComboDropList, "", {10, 90, 60, 60}, kStyleTabStop},
    ControlTemplate{kButton, ControlKind::PushButton, "Go", {80, 90, 40, 14}, kStyleTabStop},
};
constexpr DialogTemplate kTestDialog = {900, "Test", 140,   120,      "Times New Roman",
                                        10,  false,  false, kControls};

// A dialog whose handlers count what reaches them; `script` runs once the window is shown.
class CountingDlg : public CDialog {
public:
    CountingDlg() : CDialog(kTestDialog) {
        for (int id : {kDigits, kPlain}) On(id, Notify::Changed, [this, id] { ++changed[id]; });
        for (int id : {kRadioA, kRadioB, kCheck, kButton})
            On(id, Notify::Clicked, [this, id] { ++clicked[id]; });
        On(kCombo, Notify::SelChange, [this] { ++picked; });
    }
    std::map<int, int> changed, clicked;
    int picked = 0;

protected:
    bool OnInitDialog() override {
        CEdit digits;
        Bind(digits, kDigits);
        digits.LimitText(4);
        CComboBox combo;
        Bind(combo, kCombo);
        for (const char* item : {"one", "two", "three"}) combo.AddString(item);
        return CDialog::OnInitDialog();
    }
};

class Windows : public ::testing::Test {
protected:
    void SetUp() override { SetBackend(&backend_); }
    void TearDown() override { SetBackend(nullptr); }
    // Runs the dialog; `script` acts on the shown window, then the dialog is cancelled.
    int Run(CountingDlg& dlg, const std::function<void(DialogWindow&)>& script) {
        backend_.SetShownHook([&](DialogWindow& window) {
            script(window);
            if (!dlg.ended()) dlg.EndDialog(kIdCancel);
        });
        return dlg.DoModal();
    }
    static std::wstring Text(HWND w) {
        wchar_t buffer[256] = {};
        GetWindowTextW(w, buffer, 256);
        return buffer;
    }
    static std::pair<int, int> Selection(HWND edit) {
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {static_cast<int>(start), static_cast<int>(end)};
    }
    static void Type(HWND edit, wchar_t c) { SendMessageW(edit, WM_CHAR, c, 1); }
    static HWND Control(DialogWindow& w, int id) { return w.control(w.dialog().IndexOf(id)); }

    Win32Backend backend_{GetModuleHandleW(nullptr)};
};

TEST_F(Windows, CodeRaisesNothingAndTheUsersInputDoes) {
    CountingDlg dlg;
    Run(dlg, [&](DialogWindow& w) {
        // Code: a text, a check and a selection pushed to the native controls.
        dlg.SetItemText(kPlain, "pushed");
        dlg.CheckItem(kRadioB, true);
        CComboBox combo;
        dlg.Bind(combo, kCombo);
        combo.SetCurSel(2);
        EXPECT_EQ(Text(Control(w, kPlain)), L"pushed");
        EXPECT_EQ(SendMessageW(Control(w, kRadioB), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(SendMessageW(Control(w, kCombo), CB_GETCURSEL, 0, 0), 2);
        EXPECT_TRUE(dlg.changed.empty());
        EXPECT_TRUE(dlg.clicked.empty());
        EXPECT_EQ(dlg.picked, 0);

        // The user: a key in an edit, a click on a radio, a keyboard move in a closed list.
        SetFocus(Control(w, kPlain));
        SendMessageW(Control(w, kPlain), EM_SETSEL, 6, 6);
        Type(Control(w, kPlain), L'!');
        EXPECT_EQ(dlg.ItemText(kPlain), "pushed!");
        EXPECT_EQ(dlg.changed[kPlain], 1);

        SendMessageW(Control(w, kRadioA), BM_CLICK, 0, 0);
        EXPECT_EQ(dlg.clicked[kRadioA], 1);
        EXPECT_TRUE(dlg.IsItemChecked(kRadioA));
        EXPECT_FALSE(dlg.IsItemChecked(kRadioB));
        EXPECT_EQ(SendMessageW(Control(w, kRadioB), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        // A click on the checked radio leaves it checked.
        SendMessageW(Control(w, kRadioA), BM_CLICK, 0, 0);
        EXPECT_EQ(SendMessageW(Control(w, kRadioA), BM_GETCHECK, 0, 0), BST_CHECKED);

        SetFocus(Control(w, kCombo));
        SendMessageW(Control(w, kCombo), WM_KEYDOWN, VK_UP, 1);
        EXPECT_EQ(dlg.picked, 1);
        CComboBox picked;
        dlg.Bind(picked, kCombo);
        EXPECT_EQ(picked.GetCurSel(), 1);
    });
}

TEST_F(Windows, RefusedInputPutsTextAndCaretBack) {
    CountingDlg dlg;
    Run(dlg, [&](DialogWindow& w) {
        const HWND digits = Control(w, kDigits);
        const HWND plain = Control(w, kPlain);
        SetFocus(digits);
        for (wchar_t c : std::wstring(L"12")) Type(digits, c);
        SendMessageW(digits, EM_SETSEL, 1, 1);
        // A letter in a digits-only edit, a character outside Windows-1252, growth past the
        // limit (4 bytes): the edit shows its old text with the caret where it was.
        Type(digits, L'x');
        EXPECT_EQ(Text(digits), L"12");
        EXPECT_EQ(Selection(digits), std::make_pair(1, 1));
        Type(digits, L'3');
        Type(digits, L'4');
        EXPECT_EQ(Text(digits), L"1342");
        Type(digits, L'5');
        EXPECT_EQ(Text(digits), L"1342");
        EXPECT_EQ(Selection(digits), std::make_pair(3, 3));
        EXPECT_EQ(dlg.changed[kDigits], 4) << "one per accepted key";

        SetFocus(plain);
        Type(plain, L'a');
        Type(plain, 0x0394);  // GREEK CAPITAL LETTER DELTA
        EXPECT_EQ(Text(plain), L"a");
        EXPECT_EQ(Selection(plain), std::make_pair(1, 1));
        EXPECT_EQ(dlg.ItemText(kPlain), "a");
    });
}

TEST_F(Windows, Windows1252MapsAtTheBoundary) {
    // Every byte to UTF-16 and back through the framework's mapping; none is lost.
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::wstring wide = WideFromCp1252(byte);
        ASSERT_EQ(wide.size(), 1u) << b;
        EXPECT_EQ(Cp1252FromCodePoint(static_cast<char16_t>(wide[0])), b) << b;
    }
    EXPECT_EQ(WideFromCp1252("\x80\x8A\xE9"), L"\u20AC\u0160\u00E9");
    EXPECT_EQ(Utf8FromWide(L"\U0001F600"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8FromWide(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");

    CountingDlg dlg;
    Run(dlg, [&](DialogWindow& w) {
        const HWND plain = Control(w, kPlain);
        dlg.SetItemText(kPlain, "\x80 caf\xE9");  // record bytes
        EXPECT_EQ(Text(plain), L"\u20AC caf\u00E9");
        SetFocus(plain);
        SendMessageW(plain, EM_SETSEL, 0, 0);
        Type(plain, 0x0160);  // LATIN CAPITAL LETTER S WITH CARON: byte 0x8A
        EXPECT_EQ(dlg.ItemText(kPlain), "\x8A\x80 caf\xE9");
    });
}

TEST_F(Windows, KeysFollowTheFrameworksRules) {
    // Enter on a focused push button clicks it; Escape cancels.
    CountingDlg dlg;
    backend_.SetShownHook([&](DialogWindow& w) {
        SetFocus(Control(w, kButton));
        PostMessageW(Control(w, kButton), WM_KEYDOWN, VK_RETURN, 1);
        PostMessageW(Control(w, kDigits), WM_KEYDOWN, VK_ESCAPE, 1);
    });
    EXPECT_EQ(dlg.DoModal(), kIdCancel);
    EXPECT_EQ(dlg.clicked[kButton], 1);

    // Enter in an edit is the dialog's OK.
    CountingDlg second;
    backend_.SetShownHook([&](DialogWindow& w) {
        SetFocus(Control(w, kDigits));
        PostMessageW(Control(w, kDigits), WM_KEYDOWN, VK_RETURN, 1);
    });
    EXPECT_EQ(second.DoModal(), kIdOk);

    // Tab into radio buttons lands on the checked one of their group.
    CountingDlg third;
    backend_.SetShownHook([&](DialogWindow& w) {
        third.CheckItem(kRadioB, true);
        SetFocus(Control(w, kPlain));
        PostMessageW(Control(w, kPlain), WM_KEYDOWN, VK_TAB, 1);
        PostMessageW(Control(w, kPlain), WM_KEYDOWN, VK_ESCAPE, 1);
    });
    EXPECT_EQ(third.DoModal(), kIdCancel);
    EXPECT_EQ(third.focusedId(), kRadioB);
}

}  // namespace
}  // namespace ostrova::platform::win32
