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
    Recorder(Log& log, bool takes) : log(log), takes(takes) {}
    bool SetName(HWND window, const std::wstring& name) override {
        log.named.emplace_back(window, name);
        return takes;
    }
    void ClearName(HWND window) override { log.cleared.push_back(window); }
    Log& log;
    bool takes;
};

// What the Linux program calls an edit or combo box, one of each way it is found: the check box
// or label on its row to its left, the template's own name (Hour), the frame around it (Send
// To), and a label beside two fields in different frames (APN).
const std::map<int, std::map<int, std::wstring>> kSomeNames = {
    {IDD_MAIN,
     {{IDC_EDIT_PHONE1, L"Phone1"},
      {IDC_EDIT_HOUR, L"Hour"},
      {IDC_EDIT_IMAGEFROM, L"Image From"},
      {IDC_COMBO_SENDTO, L"Send To"}}},
    {IDD_ABOUTBOX, {}},
    {IDD_EMAIL_SETTING, {{IDC_EMAIL_ACCOUNT, L"Account ( @xxx )"}}},
    {IDD_OPERATOR_PARAM, {{IDC_OP_NET_APN, L"APN"}, {IDC_OP_MMS_APN, L"APN"}}},
    {IDD_FTP_SETTING, {{IDC_FTP_RETYPE_PASSWORD, L"Re-Type Password"}}},
    {IDD_HTTP_SETTING, {{IDC_HTTP_SERVER, L"HTTP Server"}}},
};

class Names : public Win32Test {
protected:
    void Record(bool takes) {
        backend_.SetAccessibleNameService(std::make_unique<Recorder>(log_, takes));
    }
    // Opens `dlg`, lets a screen reader ask for the window, runs `script` on it, then closes it.
    void Open(CDialog& dlg, const std::function<void(HWND)>& script) {
        Run(dlg, [&](HWND w) {
            EXPECT_TRUE(log_.named.empty()) << "named before a reader asked";
            SendMessageW(w, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
            script(w);
        });
    }
    // The control a named window belongs to: a drop-down combo box's edit field is its combo's.
    static int ControlId(HWND dialog, HWND w) {
        return GetDlgCtrlID(GetParent(w) == dialog ? w : GetParent(w));
    }
    // What a backend could do instead of a refused name: windows added, captions changed.
    static std::vector<std::wstring> Captions(HWND dialog) {
        std::vector<std::wstring> captions;
        for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
            captions.push_back(Text(c));
        return captions;
    }
    Log log_;
};

TEST_F(Names, EveryEditAndComboBoxGetsTheLinuxProgramsNameAndTheWindowIsTheSameWhoeverTakesIt) {
    for (const auto& [templateId, some] : kSomeNames) {
        SCOPED_TRACE(templateId);
        const DialogTemplate& tpl = *FindTemplate(templateId);
        // wine's own service, which fails every call, then recorders that fail and that take the
        // names: a failed name is not asked again and again.
        std::vector<std::vector<std::wstring>> shots;
        for (int run = 0; run < 3; ++run) {
            log_ = {};
            if (run > 0) Record(run == 2);
            CDialog dlg(tpl);
            std::map<int, std::wstring> got;
            std::multiset<int> windows;  // named windows per control
            std::set<HWND> named;
            Open(dlg, [&](HWND w) {
                for (const auto& [window, name] : log_.named) {
                    const int id = ControlId(w, window);
                    EXPECT_TRUE(got.emplace(id, name).first->second == name) << id;
                    windows.insert(id);
                    named.insert(window);
                }
                shots.push_back(Captions(w));
            });
            if (run == 0) continue;
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
        ASSERT_EQ(shots.size(), 3u);
        EXPECT_FALSE(shots[0].empty());
        EXPECT_EQ(shots[1], shots[0]);
        EXPECT_EQ(shots[2], shots[0]);
    }
}

TEST_F(Names, ALabelThatChangesRenamesItsField) {
    Record(true);
    CDialog dlg(MainTemplate());
    Open(dlg, [&](HWND w) {
        const HWND field = GetDlgItem(w, IDC_EDIT_MAXNUM);
        using Row = std::tuple<const char*, std::vector<std::pair<HWND, std::wstring>>>;
        for (const auto& [text, renamed] : {
                 Row{"Most", {{field, L"Most"}}},
                 Row{"Most", {}},  // the same text: no new name
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
