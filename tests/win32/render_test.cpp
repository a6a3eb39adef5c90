// A dialog that fills its window during its initialisation (the main window fills five lists
// and disables most of its controls) reaches the window system with the end state only: each
// change is a round trip or more, under wine one to its server each.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

#include "platform/win32/backend.h"
#include "platform/win32/dialog_window.h"

namespace ostrova::platform::win32 {
namespace {

constexpr int kEdit = 10, kCombo = 11;
constexpr ControlTemplate kControls[] = {
    {kEdit, ControlKind::Edit, "", {10, 10, 60, 12}, kStyleTabStop | kStyleBorder},
    {kCombo, ControlKind::ComboDropDown, "", {10, 30, 60, 60}, kStyleTabStop},
};
constexpr DialogTemplate kDialog = {902, "Fill", 100, 80, "Arial", 10, false, false, kControls};

struct FillingDlg : CDialog {
    FillingDlg() : CDialog(kDialog) {}
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        Bind(list, kCombo);
        for (int i = 0; i < 25; ++i) list.InsertString(i, "entry " + std::to_string(i));
        list.SetCurSel(3);
        for (int i = 0; i < 5; ++i) {
            EnableItem(kEdit, false);
            EnableItem(kEdit, true);
        }
        EnableItem(kEdit, false);
        SetItemText(kEdit, "a");
        SetItemText(kEdit, "ab");
        return true;
    }
    CComboBox list;
};

// Messages sent to the dialog's controls while it runs, per control id and message.
std::map<std::pair<int, UINT>, int> g_sent;

LRESULT CALLBACK CountSent(int code, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION) ++g_sent[{GetDlgCtrlID(m->hwnd), m->message}];
    return CallNextHookEx(nullptr, code, wp, lp);
}

TEST(Rendering, AWindowFilledWhileHiddenGetsOnlyTheEndState) {
    Win32Backend backend(GetModuleHandleW(nullptr));
    SetBackend(&backend);
    g_sent.clear();
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, CountSent, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    FillingDlg dlg;
    backend.SetShownHook([&](DialogWindow& window) {
        UnhookWindowsHookEx(hook);
        const HWND edit = window.control(0), combo = window.control(1);
        wchar_t text[16] = {};
        GetWindowTextW(edit, text, 16);
        EXPECT_EQ(std::tuple(std::wstring(text), IsWindowEnabled(edit) != FALSE,
                             SendMessageW(combo, CB_GETCOUNT, 0, 0),
                             SendMessageW(combo, CB_GETCURSEL, 0, 0)),
                  std::tuple(std::wstring(L"ab"), false, 25, 3));
        PostMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    });
    ASSERT_NE(dlg.DoModal(), -1);
    SetBackend(nullptr);
    auto sent = [](int id, UINT msg) { return g_sent[{id, msg}]; };
    // The entries in one pass into the empty list, no emptying first; one selection; the edit
    // made disabled and with its text, so neither needs a message.
    EXPECT_EQ(sent(kCombo, CB_ADDSTRING) + sent(kCombo, CB_INSERTSTRING), 25);
    EXPECT_EQ(
        std::tuple(sent(kCombo, CB_RESETCONTENT), sent(kCombo, CB_SETCURSEL),
                   sent(kEdit, WM_ENABLE), sent(kEdit, WM_SETTEXT) + sent(kEdit, EM_REPLACESEL)),
        std::tuple(0, 1, 0, 0));
}

}  // namespace
}  // namespace ostrova::platform::win32
