// Load, Save, Save as and the start-up load, driven through the main window like a user.
#include <cstring>

#include "main_window_fixture.h"

namespace ostrova::ui::testing {
namespace {

TEST_F(MainWindow, SaveStoresWhatTheFormShowsFirst) {
    ConfigRecord r = SampleRecord(kSendInstant);
    r.fixedFlag = 0;  // as a damaged or foreign file may hold them
    r.auxFlag = 5;
    CopyText(r.phone[0], "+4611");
    std::memcpy(r.phone[2].data(), "\0old", 4);         // empty, with bytes after the NUL
    std::memcpy(r.email[3].data(), "a@b.se\0old", 10);  // a text with bytes after its NUL
    auto& w = OpenOn(r);
    w.Click(IDC_CHECK_PHONE1);  // unticked: its edit empties, the record waits for the save
    for (int box : {IDC_CHECK_PHONE4, IDC_CHECK_EMAIL1, IDC_CHECK_EMAIL2, IDC_CHECK_EMAIL3})
        w.Click(box);
    for (int edit :
         {IDC_EDIT_PHONE2, IDC_EDIT_PHONE4, IDC_EDIT_EMAIL1, IDC_EDIT_EMAIL2, IDC_EDIT_EMAIL3})
        w.Type(edit, "7");
    w.Pick(IDC_COMBO_SMSCONTROL, 1);
    w.Click(IDC_CHECK_STATUSRESPONSE);
    w.Click(IDC_BTN_SAVE);
    EXPECT_EQ(ReadBytes(folder / "wireless.cfg"), CfgFileOf(record));
    std::string texts;  // the four phones, then the four email addresses
    for (const auto& f : record.phone) texts += std::string(TextOf(f)) + "|";
    for (const auto& f : record.email) texts += std::string(TextOf(f)) + "|";
    EXPECT_EQ(texts, "|7+46701234567||7|7|7|7|a@b.se|");
    EXPECT_EQ(std::ranges::count(record.phone[0], '\0'), 20)
        << "an empty recipient is cleared whole";
    EXPECT_EQ(std::ranges::count(record.phone[2], '\0'), 20);
    EXPECT_EQ(std::string(record.email[3].data() + 7, 3), "old") << "bytes after a NUL stay";
    EXPECT_EQ(record.smsControl + record.statusResponse + record.statusResponse2, 3);
    EXPECT_EQ(std::tuple(record.version, record.fixedFlag, record.auxFlag), std::tuple(2, 1, 0));
}

// Status Response goes out in both of its bytes, and a record without SMS control unticks it.
TEST_F(MainWindow, StatusResponseFollowsSmsControlOnSaveAndLoad) {
    ConfigRecord r = SampleRecord();
    r.smsControl = 1;
    r.statusResponse = 1;
    auto& w = OpenOn(r);
    w.Click(IDC_BTN_SAVE);
    EXPECT_EQ(record.statusResponse2, 1);
    w.Click(IDC_CHECK_STATUSRESPONSE);
    w.Click(IDC_BTN_SAVE);
    EXPECT_EQ(record.statusResponse + record.statusResponse2, 0) << "unticked with SMS Control ON";
    ConfigRecord off = SampleRecord();  // a file that asks for responses with SMS Control OFF
    off.statusResponse = off.statusResponse2 = 1;
    WriteBytes(folder / "off.cfg", CfgFileOf(off));
    Load(folder / "off.cfg");
    EXPECT_FALSE(w.Checked(IDC_CHECK_STATUSRESPONSE));
    w.Click(IDC_BTN_SAVE);
    EXPECT_EQ(record.statusResponse + record.statusResponse2, 0) << "a save clears them";
}

TEST_F(MainWindow, SaveChecksFirstThenWritesIntoTheCurrentFolderOrKeepsTheOldFile) {
    auto& w = Open();
    w.Pick(IDC_COMBO_SMSCONTROL, 1);
    w.Click(IDC_BTN_SAVE);
    w.Click(IDC_RADIO_INSTANT);
    w.Click(IDC_RADIO_INTERNET);
    w.Click(IDC_CHECK_PHONE4);
    w.Type(IDC_EDIT_PHONE4, "123");
    ZeroField(record.smtpServer);
    bool asked = false;
    backend.WhenOpened(IDD_EMAIL_SETTING, [&](HeadlessDialog& d) { asked = true, d.Escape(); });
    w.Click(IDC_BTN_SAVE);
    EXPECT_TRUE(asked) << "the Email Setting dialog opens instead";
    w.Click(IDC_RADIO_DAILY);  // the account is needed for Instant sending only

    std::filesystem::create_directories(folder / "wireless.cfg");  // cannot be replaced
    w.Click(IDC_BTN_SAVE);
    EXPECT_EQ(record.saveYear.get(), 0) << "no time stamp on a failed save";
    std::filesystem::remove(folder / "wireless.cfg");
    backend.saveAnswers = {std::nullopt};
    w.Click(IDC_BTN_SAVEAS);  // cancelled: says nothing
    w.Click(IDC_BTN_SAVE);
    EXPECT_EQ(backend.messages, (Strings{"Please input a phone number when SMS control=on",
                                         "Create File Fail!", "Save wireless.cfg OK!"}));
    EXPECT_EQ(backend.shownInFileManager, std::vector{folder / "wireless.cfg"});
    EXPECT_EQ(record.saveYear.get(), 2026) << "the save stamps the record it wrote";
}

TEST_F(MainWindow, StartupPrefersWirelessCfgAndTakesABinOnlyAlone) {
    Bytes badCfg = CfgFileOf(SampleRecord());
    std::swap(badCfg[2046], badCfg[2047]);
    WriteBytes(folder / "wireless.cfg", badCfg);
    WriteBytes(folder / "MMSCFG.BIN", BinFileOf(SampleRecord()));
    Open();
    EXPECT_EQ(record.sendMode, kSendOff) << "a bad wireless.cfg loads nothing, not even the BIN";
    std::filesystem::remove(folder / "wireless.cfg");
    auto& w = Open();
    EXPECT_EQ(TextOf(record.phone[1]), "+46701234567");
    EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 0);
    EXPECT_TRUE(backend.messages.empty());
}

TEST_F(MainWindow, LoadReadsTheFormItsExtensionNamesOrSaysWhyNot) {
    ConfigRecord old = SampleRecord();
    old.countryId = old.operatorId = 2;  // China in the old numbering, with a China operator
    // clang-format off
    // The file, its bytes, the message, the Filetype entry selected, the country shown (0: the
    // record is as it was). Each failure's message is the reader's, checked with the tool's.
    const std::tuple<const char*, Bytes, const char*, int, int> rows[] = {
        {"a.bak", BinFileOf(SampleRecord()), "", 0, 22},
        {"noext", CfgFileOf(SampleRecord()), "", 1, 22},
        {"old.Bin", BinFileOf(old),
         "file is created by an old version tool, it will be translated to new version "
         "automatically! ", 0, 6},
        {"one.cfg", Bytes{1}, "File Error1!", 1, 0},
        {"big.bin", Bytes(8193, 0), "File Error2!", 0, 0}};
    // clang-format on
    std::filesystem::create_directories(folder / "cards");
    for (const auto& [name, bytes, message, fileType, country] : rows) {
        SCOPED_TRACE(name);
        auto& w = Open();
        const ConfigRecord before = record;
        backend.messages.clear();
        WriteBytes(folder / "cards" / name, bytes);
        Load(folder / "cards" / name);
        EXPECT_EQ(backend.messages, *message ? Strings{message} : Strings{});
        EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), fileType) << "it follows the extension";
        EXPECT_EQ(w.Selection(IDC_COMBO_COUNTRY), country);
        EXPECT_TRUE(country != 0 || std::memcmp(&record, &before, sizeof record) == 0);
    }
    EXPECT_EQ(backend.fileDialogs.back().defaultExtension, "CFG");
    EXPECT_EQ(backend.fileDialogs.back().filter, "*.CFG|*.cfg|*.BIN|*.bin|");
    // The working folder follows the picked file, so a plain Save writes beside it.
    w->Click(IDC_BTN_SAVE);
    EXPECT_EQ(backend.shownInFileManager.back(), folder / "cards/MMSCFG.BIN");
}

// The picked path is taken as it is: only the file's own name decides the form, so a dot in a
// folder's name does not count (on Windows that folder ends at a backslash).
TEST_F(MainWindow, LoadTakesThePickedPathAsItIs) {
    auto& w = Open();
    std::filesystem::create_directories(folder / "anna.b");
    WriteBytes(folder / "anna.b" / "settings", CfgFileOf(SampleRecord()));
    Load(folder / "anna.b" / "settings");
    EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 1) << "wireless.cfg";
    EXPECT_EQ(TextOf(record.phone[1]), "+46701234567");
    EXPECT_TRUE(backend.messages.empty());
}

TEST_F(MainWindow, HttpAndFtpKeepTheFiletypeOnWirelessCfgAndSaveTheWholeRecord) {
    auto& w = OpenOn(SampleRecord(kSendInstant, kViaInternet, kToFtp));
    backend.saveAnswers = {folder / "my.cfg"};
    w.Click(IDC_BTN_SAVEAS);
    EXPECT_EQ(backend.fileDialogs.back().initialName, "wireless.cfg");
    EXPECT_EQ(backend.fileDialogs.back().filter, "*.cfg|*.CFG");
    EXPECT_EQ(backend.messages, Strings{"Save " + (folder / "my.cfg").string() + " OK!"});

    // A .bin loaded while the list holds only "wireless.cfg" keeps that entry selected, or the
    // next save would drop the FTP settings; a load never changes the list's shape.
    WriteBytes(folder / "x.bin", BinFileOf(record));
    Load(folder / "x.bin");
    EXPECT_EQ(w.Items(IDC_COMBO_FILETYPE), Strings{"wireless.cfg"});
    EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 0);
    WriteBytes(folder / "mms.cfg", CfgFileOf(SampleRecord()));
    Load(folder / "mms.cfg");
    EXPECT_EQ(w.Items(IDC_COMBO_FILETYPE), Strings{"wireless.cfg"});

    // An FTP file loaded into the two-entry list keeps "wireless.cfg" selected when Send To
    // moves on, so the next save writes the whole record.
    ConfigRecord ftp = SampleRecord(kSendDailyReport, kViaInternet, kToFtp);
    const std::string from(59, 'f');
    CopyText(ftp.imageFrom, from);
    ftp.saveYear.set(2024);
    WriteBytes(folder / "ftp.cfg", CfgFileOf(ftp));
    record = {};
    std::filesystem::remove(folder / "wireless.cfg");  // started afresh, on no file
    auto& fresh = Open();
    Load(folder / "ftp.cfg");
    fresh.Pick(IDC_COMBO_SENDTO, 0);  // Email
    fresh.Click(IDC_BTN_SAVE);
    EXPECT_FALSE(std::filesystem::exists(folder / "MMSCFG.BIN"));
    const Bytes saved = ReadBytes(folder / "wireless.cfg");
    ASSERT_EQ(saved.size(), 2048u);
    EXPECT_EQ(saved, CfgFileOf(record));
    EXPECT_EQ(TextOf(RecordOfCfgFile(saved).imageFrom), from);
    EXPECT_EQ(record.sendTo, kToEmail);
}

TEST_F(MainWindow, TextsWithoutTerminatorShowAtMostTheirWidthLessOne) {
    ConfigRecord r = SampleRecord(kSendInstant);
    // Every text field, from the first phone at 20 to Image From, filled to its last byte.
    std::memset(r.bytes().data() + 20, '5', 1190 - 20);
    auto& w = OpenOn(r);
    for (const auto& [id, size] :
         {std::pair{IDC_EDIT_PHONE1, 19u}, {IDC_EDIT_EMAIL4, 59u}, {IDC_EDIT_IMAGEFROM, 15u}})
        EXPECT_EQ(w.Text(id).size(), size) << id;
    EXPECT_EQ(record.phone[0][19], '\0') << "the record keeps the cut";
    // (The dialogs' edits show the same cut: the Operator Parameter dialog's test.)

    // An edit rebuilds both Image From fields from what was shown, not from 16 bytes.
    w.Type(IDC_EDIT_IMAGEFROM, "y");
    EXPECT_EQ(TextOf(record.imageFrom), std::string("y").append(15, '5'));
    EXPECT_EQ(TextOf(record.imageFromShort), std::string("y").append(14, '5'));
}

}  // namespace
}  // namespace ostrova::ui::testing
