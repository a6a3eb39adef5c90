// What a user types into a field is what the field shows and what the file holds: edits in
// the middle of runs of equal characters, over selections, refused keys and undo.
#include <functional>

#include "main_window_fixture.h"

namespace ostrova::ui::testing {
namespace {

struct Story {
    const char* what;
    int id;
    std::function<void(ConfigRecord&)> stood;  // the field as the file had it
    std::function<void(HeadlessDialog&, int)> did;
    const char* shows;
    std::function<std::string(const ConfigRecord&)> saved;  // what the saved file holds
};

std::string Phone1(const ConfigRecord& r) {
    return std::string(TextOf(r.phone[0]));
}
std::string MaxNum(const ConfigRecord& r) {
    return std::to_string(r.maxNum.get());
}

const Story kStories[] = {
    {"select all, retype", IDC_EDIT_PHONE1,
     [](ConfigRecord& r) { CopyText(r.phone[0], "5551234"); },
     [](HeadlessDialog& w, int id) { w.SelectAll(id), w.Type(id, "4670"); }, "4670", Phone1},
    {"select all, retype a number that starts as the old one ended", IDC_EDIT_HOUR,
     [](ConfigRecord& r) { r.sendMode = kSendDailyReport, r.reportHour = 21; },
     [](HeadlessDialog& w, int id) { w.SelectAll(id), w.Type(id, "12"); }, "12",
     [](const ConfigRecord& r) { return std::to_string(r.reportHour); }},
    {"a word selected and retyped", IDC_EDIT_EMAIL1,
     [](ConfigRecord& r) { CopyText(r.email[0], "cam@mail.net"); },
     [](HeadlessDialog& w, int id) { w.Select(id, 4, 8), w.Type(id, "live"); }, "cam@live.net",
     [](const ConfigRecord& r) { return std::string(TextOf(r.email[0])); }},
    {"typing inside a run of zeros", IDC_EDIT_PHONE1,
     [](ConfigRecord& r) { CopyText(r.phone[0], "5550000"); },
     [](HeadlessDialog& w, int id) { w.SetCaret(id, 5), w.Backspace(id), w.Type(id, "1"); },
     "5550100", Phone1},
    {"Delete at the start, then typing", IDC_EDIT_PHONE1,
     [](ConfigRecord& r) { CopyText(r.phone[0], "0044"); },
     [](HeadlessDialog& w, int id) { w.SetCaret(id, 0), w.Delete(id), w.Type(id, "5"); }, "5044",
     Phone1},
    {"a refused key over a selection deletes nothing", IDC_EDIT_MAXNUM,
     [](ConfigRecord& r) { r.maxNum.set(123); },
     [](HeadlessDialog& w, int id) {
         w.Select(id, 1, 2), w.Type(id, "-");
         EXPECT_EQ(w.EditSelection(id), (std::pair{1, 2}));
     },
     "123", MaxNum},
    {"the 20th phone character falls back and Backspace takes the 19th", IDC_EDIT_PHONE1,
     [](ConfigRecord& r) { CopyText(r.phone[0], "123456789012345678"); },
     [](HeadlessDialog& w, int id) {
         w.SetCaret(id, 3), w.Type(id, "78");
         EXPECT_EQ(w.EditSelection(id), (std::pair{4, 4})) << "the caret stays where it was";
         w.Backspace(id);
     },
     "123456789012345678", Phone1},
    {"the refused number stays selected, so the next digit replaces it", IDC_EDIT_MAXNUM,
     [](ConfigRecord& r) { r.maxNum.set(9999); },
     [](HeadlessDialog& w, int id) { w.SetCaret(id, 4), w.Type(id, "9"), w.Type(id, "5"); }, "5",
     MaxNum},
    {"one undo takes back a retyped run", IDC_EDIT_PHONE1,
     [](ConfigRecord& r) { CopyText(r.phone[0], "5551234"); },
     [](HeadlessDialog& w, int id) { w.SelectAll(id), w.Type(id, "4670"), w.Undo(id); }, "5551234",
     Phone1},
    {"undo after a refused character takes back the accepted one", IDC_EDIT_PHONE1,
     [](ConfigRecord& r) { CopyText(r.phone[0], "123456789012345678"); },
     [](HeadlessDialog& w, int id) { w.SetCaret(id, 18), w.Type(id, "90"), w.Undo(id); },
     "123456789012345678", Phone1},
};

TEST_F(MainWindow, WhatTheUserTypesIsWhatTheFieldShowsAndTheFileHolds) {
    for (const Story& story : kStories) {
        SCOPED_TRACE(story.what);
        ConfigRecord r = SampleRecord(kSendInstant);
        story.stood(r);
        auto& w = OpenOn(r);
        story.did(w, story.id);
        EXPECT_EQ(w.Text(story.id), story.shows);
        backend.messages.clear();
        w.Click(IDC_BTN_SAVE);
        EXPECT_EQ(story.saved(RecordOfCfgFile(ReadBytes(folder / "wireless.cfg"))), story.shows);
    }
}

// Both passwords retyped alike stay alike, so no mismatch is reported, and the file holds them.
TEST_F(MainWindow, RetypedEmailSettingsReachTheFileAsTyped) {
    ConfigRecord r = SampleRecord(kSendInstant, kViaInternet, kToEmail);
    CopyText(r.smtpAccount, "cam@example.org");
    CopyText(r.smtpPassword, "demo2018");
    CopyText(r.smtpServer, "smtp.example.org");
    CopyText(r.smtpPort, "2525");
    auto& w = OpenOn(r);
    backend.WhenOpened(IDD_EMAIL_SETTING, [](HeadlessDialog& d) {
        const std::pair<int, const char*> typed[] = {{IDC_EMAIL_PASSWORD, "8ball42"},
                                                     {IDC_EMAIL_RETYPE_PASSWORD, "8ball42"},
                                                     {IDC_EMAIL_SERVER, "mail.example.com"},
                                                     {IDC_EMAIL_PORT, "587"}};
        for (const auto& [id, text] : typed) d.SelectAll(id), d.Type(id, text);
        d.Click(IDOK);
    });
    w.Click(IDC_BTN_SENDTO_SETTING);
    w.Click(IDC_BTN_SAVE);
    EXPECT_EQ(backend.messages, Strings{"Save wireless.cfg OK!"});
    const ConfigRecord saved = RecordOfCfgFile(ReadBytes(folder / "wireless.cfg"));
    EXPECT_EQ(TextOf(saved.smtpPassword), "8ball42");
    EXPECT_EQ(TextOf(saved.smtpServer), "mail.example.com");
    EXPECT_EQ(TextOf(saved.smtpPort), "587");
}

}  // namespace
}  // namespace ostrova::ui::testing
