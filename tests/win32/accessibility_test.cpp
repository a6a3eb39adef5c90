// Screen-reader names: what the backend hands the annotation service for every edit and combo
// box of every template, the new name when a label changes, and a window that is the same
// whether the service takes the names or not (wine's answers E_NOTIMPL).
// Before <windows.h>, whose IDOK and IDCANCEL macros would clash with the constants.
#include "res/resource_ids.h"

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/win32/wide_text.h"
#include "res/templates.h"
#include "win32/harness.h"

namespace ostrova::platform::win32 {
namespace {

using namespace ostrova::res;

struct Log {
    std::vector<std::pair<HWND, std::wstring>> named;
    std::vector<HWND> cleared;
};

struct Recorder : AccessibleNameService {
    explicit Recorder(Log& log) : log(log) {}
    bool SetName(HWND window, const std::wstring& name) override {
        log.named.emplace_back(window, name);
        return true;
    }
    void ClearName(HWND window) override { log.cleared.push_back(window); }
    Log& log;
};

// What the Linux program calls an edit or combo box, one of each way it is found: the check box
// or label on its row to its left, the template's own name (Hour), the frame around it (Send
// To), and a label beside two fields in different frames (APN).
const std::map<int, std::map<int, std::wstring>> kSomeNames = {
    {IDD_MAIN,
     {{IDC_EDIT_PHONE1, L"Phone1"}, {IDC_EDIT_HOUR, L"Hour"}, {IDC_COMBO_SENDTO, L"Send To"}}},
    {IDD_ABOUTBOX, {}},
    {IDD_EMAIL_SETTING, {{IDC_EMAIL_ACCOUNT, L"Account ( @xxx )"}}},
    {IDD_OPERATOR_PARAM, {{IDC_OP_NET_APN, L"APN"}, {IDC_OP_MMS_APN, L"APN"}}},
    {IDD_FTP_SETTING, {{IDC_FTP_RETYPE_PASSWORD, L"Re-Type Password"}}},
    {IDD_HTTP_SETTING, {{IDC_HTTP_SERVER, L"HTTP Server"}}},
};

struct Names : Win32Test {
    Log log_;
};

TEST_F(Names, EveryEditAndComboBoxGetsTheLinuxProgramsNameAndTheWindowIsTheSameWhoeverTakesIt) {
    for (const auto& [templateId, some] : kSomeNames) {
        SCOPED_TRACE(templateId);
        const DialogTemplate& tpl = *FindTemplate(templateId);
        // wine's own service, which fails every call, then a recorder that takes the names.
        std::vector<std::vector<std::wstring>> shots;
        for (bool recorded : {false, true}) {
            log_ = {};
            if (recorded) backend_.SetAccessibleNameService(std::make_unique<Recorder>(log_));
            CDialog dlg(tpl);
            std::map<int, std::wstring> got;
            std::multiset<int> windows;  // named windows per control
            std::set<HWND> named;
            Run(dlg, [&](HWND w) {
                EXPECT_TRUE(log_.named.empty()) << "named before a reader asked";
                // A screen reader asks for the window.
                SendMessageW(w, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
                for (const auto& [window, name] : log_.named) {
                    // A drop-down combo box's edit field is named for its combo box.
                    const int id =
                        GetDlgCtrlID(GetParent(window) == w ? window : GetParent(window));
                    EXPECT_TRUE(got.emplace(id, name).first->second == name) << id;
                    windows.insert(id);
                    named.insert(window);
                }
                // What a backend could do instead of a refused name: windows added, captions
                // changed.
                shots.emplace_back();
                for (HWND c = GetWindow(w, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
                    shots.back().push_back(Text(c));
            });
            if (!recorded) continue;
            for (const auto& [id, name] : some) EXPECT_EQ(got[id], name) << id;
            // Every edit and combo box but the release notes, once, and a drop-down combo box's
            // edit field as well as the box.
            for (const ControlTemplate& c : tpl.controls) {
                const bool field = c.kind >= ControlKind::Edit && c.id != IDC_EDIT_RELEASENOTES;
                EXPECT_EQ(windows.count(c.id), !field                                 ? 0u
                                               : c.kind == ControlKind::ComboDropDown ? 2u
                                                                                      : 1u)
                    << c.id;
            }
            // The names go with the windows.
            EXPECT_EQ(std::set<HWND>(log_.cleared.begin(), log_.cleared.end()), named);
        }
        ASSERT_EQ(shots.size(), 2u);
        EXPECT_FALSE(shots[0].empty());
        EXPECT_EQ(shots[1], shots[0]);
    }
}

TEST_F(Names, ALabelThatChangesRenamesItsField) {
    backend_.SetAccessibleNameService(std::make_unique<Recorder>(log_));
    CDialog dlg(MainTemplate());
    Run(dlg, [&](HWND w) {
        SendMessageW(w, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));  // a screen reader
        const HWND field = GetDlgItem(w, IDC_EDIT_MAXNUM);
        using Row = std::tuple<const char*, std::vector<std::pair<HWND, std::wstring>>>;
        for (const auto& [text, renamed] : {
                 Row{"Most", {{field, L"Most"}}},
                 Row{"&Most && more", {{field, L"Most & more"}}},
             }) {
            log_.named.clear();
            dlg.SetItemText(IDC_LABEL_MAXNUM, text);
            EXPECT_EQ(log_.named, renamed) << text;
        }
    });
}

}  // namespace
}  // namespace ostrova::platform::win32
