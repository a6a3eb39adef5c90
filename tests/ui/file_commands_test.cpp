// Load, Save, Save as and the start-up load, driven through the main window like a user.
#include <cstring>

#include "config/presets.h"
#include "main_window_fixture.h"

namespace ostrova::ui::testing {
namespace {

using namespace ostrova::res;

// A current record as a file of this tool would hold it.
ConfigRecord SampleRecord() {
    ConfigRecord r{};
    r.version = 2;
    r.sendMode = kSendDailyReport;
    r.sendVia = kViaMms;
    r.sendTo = kToBoth;
    r.reportHour = 6;
    r.reportMinute = 45;
    r.countryId = 22;
    r.operatorId = 21;
    r.imageQuality.set(100);
    r.fixedFlag = 1;
    CopyText(r.phone[1], "+46701234567");
    CopyText(r.email[0], "me@example.org");
    CopyText(r.smtpServer, "smtp.example.org");
    CopyText(r.ftpServer, "ftp.example.org");
    return r;
}

TEST_F(MainWindow, FirstStartSavesAWirelessCfgIntoTheCurrentFolder) {
    auto& w = Open();
    EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 1);
    w.Click(IDC_BTN_SAVE);
    EXPECT_EQ(backend.messages, std::vector<std::string>{"Save wireless.cfg OK!"});
    ASSERT_EQ(backend.shownInFileManager.size(), 1u);
    EXPECT_EQ(backend.shownInFileManager[0], folder / "wireless.cfg");
    const Bytes file = ReadFile(folder / "wireless.cfg");
    ASSERT_EQ(file.size(), 2048u);
    EXPECT_EQ(file, CfgFileOf(record));
    // The save changed the record itself: version, fixed flag, time stamp.
    EXPECT_EQ(record.version, 2);
    EXPECT_EQ(record.fixedFlag, 1);
    EXPECT_EQ(record.saveYear.get(), 2026);
    EXPECT_EQ(record.saveMonth, 12);
    EXPECT_EQ(record.saveDay, 7);
    EXPECT_EQ(record.saveHour, 9);
    EXPECT_EQ(record.saveMinute, 5);
    EXPECT_EQ(record.saveSecond, 3);
}

TEST_F(MainWindow, StartupTakesWirelessCfgFromTheProgramFolder) {
    ConfigRecord saved = SampleRecord();
    WriteFile(folder / "wireless.cfg", CfgFileOf(saved));
    auto& w = Open();
    EXPECT_EQ(std::memcmp(&record, &saved, 2046), 0);
    EXPECT_TRUE(w.Checked(IDC_RADIO_DAILY));
    EXPECT_EQ(w.Text(IDC_EDIT_HOUR), "6");
    EXPECT_EQ(w.Text(IDC_EDIT_PHONE2), "+46701234567");
    EXPECT_TRUE(w.Checked(IDC_CHECK_PHONE2));
    EXPECT_EQ(w.Selection(IDC_COMBO_COUNTRY), 22);
    EXPECT_EQ(w.Selection(IDC_COMBO_OPERATOR), 1);
    EXPECT_EQ(w.Selection(IDC_COMBO_SENDTO), 2);
    EXPECT_TRUE(backend.messages.empty());
}

TEST_F(MainWindow, StartupIgnoresBinBesideABadCfgAndNewerBins) {
    ConfigRecord saved = SampleRecord();
    Bytes cfg = CfgFileOf(saved);
    std::swap(cfg[2046], cfg[2047]);
    WriteFile(folder / "wireless.cfg", cfg);
    WriteFile(folder / "MMSCFG.BIN", BinFileOf(saved));
    auto& w = Open();
    EXPECT_EQ(record.sendMode, kSendOff) << "nothing is loaded";
    EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 1);

    std::filesystem::remove(folder / "wireless.cfg");
    Bytes bin = BinFileOf(saved);
    bin[0] = 3;
    WriteFile(folder / "MMSCFG.BIN", bin);
    auto& w2 = Open();
    EXPECT_EQ(record.sendMode, kSendOff);
    EXPECT_EQ(w2.Selection(IDC_COMBO_FILETYPE), 1);
    EXPECT_TRUE(backend.messages.empty());
}

TEST_F(MainWindow, StartupTakesAnOldBinAndTheNextSaveWritesBin) {
    for (std::uint8_t version : {0, 1, 2}) {
        ConfigRecord saved = SampleRecord();
        saved.version = version;
        if (version == 1) {
            saved.countryId = 21;
            saved.operatorId = 20;
        }
        WriteFile(folder / "MMSCFG.BIN", BinFileOf(saved));
        auto& w = Open();
        EXPECT_EQ(record.version, 2) << int(version);
        EXPECT_EQ(record.countryId, 22) << int(version);
        EXPECT_EQ(record.operatorId, 21) << int(version);
        EXPECT_EQ(record.maxNum.get(), version == 1 ? 50 : 0);
        EXPECT_EQ(TextOf(record.ftpServer), "") << "the start-up load zeroes what BIN lacks";
        EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 0);
        EXPECT_TRUE(backend.messages.empty());
        w.Click(IDC_BTN_SAVE);
        EXPECT_EQ(backend.messages, std::vector<std::string>{"Save MMSCFG.BIN OK!"});
        EXPECT_EQ(ReadFile(folder / "MMSCFG.BIN"), BinFileOf(record));
        backend.messages.clear();
    }
}

TEST_F(MainWindow, LoadReadsTheFormTheExtensionNames) {
    auto& w = Open();
    ConfigRecord saved = SampleRecord();
    std::filesystem::create_directories(folder / "cards");
    WriteFile(folder / "cards/a.bak", BinFileOf(saved));
    WriteFile(folder / "cards/noext", CfgFileOf(saved));
    WriteFile(folder / "cards/b.Bin", BinFileOf(saved));
    WriteFile(folder / "cards/c.cfg", CfgFileOf(saved));

    backend.openAnswers = {folder / "cards/a.bak"};
    w.Click(IDC_BTN_LOAD);
    EXPECT_EQ(backend.fileDialogs.back().defaultExtension, "CFG");
    EXPECT_EQ(backend.fileDialogs.back().filter, "*.CFG|*.cfg|*.BIN|*.bin|");
    EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 0);
    EXPECT_EQ(TextOf(record.phone[1]), "+46701234567");
    EXPECT_TRUE(w.Checked(IDC_RADIO_DAILY));
    EXPECT_TRUE(backend.messages.empty());

    backend.openAnswers = {folder / "cards/noext"};
    w.Click(IDC_BTN_LOAD);
    EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 1);
    EXPECT_EQ(TextOf(record.ftpServer), "ftp.example.org");
    EXPECT_TRUE(backend.messages.empty());

    backend.openAnswers = {std::nullopt};  // cancelled: nothing changes
    w.Click(IDC_BTN_LOAD);
    EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 1);

    // The working folder follows the picked file, so a plain Save writes beside it.
    backend.openAnswers = {folder / "cards/b.Bin"};
    w.Click(IDC_BTN_LOAD);
    EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 0);
    w.Click(IDC_BTN_SAVE);
    EXPECT_TRUE(std::filesystem::exists(folder / "cards/MMSCFG.BIN"));
    EXPECT_EQ(backend.shownInFileManager.back(), folder / "cards/MMSCFG.BIN");
}

TEST_F(MainWindow, LoadFailuresShowTheirMessageAndChangeNothing) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    const Bytes before(record.bytes().begin(), record.bytes().end());
    ConfigRecord newer = SampleRecord();
    newer.version = 3;
    Bytes badSum = CfgFileOf(SampleRecord());
    badSum[10] ^= 1;
    struct Case {
        const char* name;
        Bytes bytes;
        const char* message;
        int selection;
    };
    const Case cases[] = {
        {"one.cfg", Bytes{1}, "File Error1!", 1},
        {"big.bin", Bytes(8193, 0), "File Error2!", 0},
        {"newer.bin", BinFileOf(newer), "File Is Create by Higher Version!", 0},
        {"bad.cfg", badSum, "File Checksum Error!", 1},
    };
    for (const Case& c : cases) {
        backend.messages.clear();
        WriteFile(folder / c.name, c.bytes);
        backend.openAnswers = {folder / c.name};
        w.Click(IDC_BTN_LOAD);
        EXPECT_EQ(backend.messages, std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), c.selection) << c.name;
        EXPECT_EQ(Bytes(record.bytes().begin(), record.bytes().end()), before) << c.name;
    }
    backend.messages.clear();
    backend.openAnswers = {folder / "missing.cfg"};
    w.Click(IDC_BTN_LOAD);
    EXPECT_EQ(backend.messages, std::vector<std::string>{"File Open Error!"});
}

TEST_F(MainWindow, LoadOfAnOldBinRenumbersAndSaysSo) {
    auto& w = Open();
    ConfigRecord old = SampleRecord();
    old.countryId = 2;  // China in the old numbering, with a China operator
    old.operatorId = 2;
    WriteFile(folder / "old.bin", BinFileOf(old));
    backend.openAnswers = {folder / "old.bin"};
    w.Click(IDC_BTN_LOAD);
    EXPECT_EQ(backend.messages,
              std::vector<std::string>{"file is created by an old version tool, it will be "
                                       "translated to new version automatically! "});
    EXPECT_EQ(record.countryId, 6);
    EXPECT_EQ(w.Selection(IDC_COMBO_COUNTRY), 6);
}

TEST_F(MainWindow, InternetFtpForcesWirelessCfgAndLoadKeepsItThatWay) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    w.Click(IDC_RADIO_INTERNET);
    w.Pick(IDC_COMBO_SENDTO, 2);
    backend.saveAnswers = {folder / "out/my.cfg"};
    std::filesystem::create_directories(folder / "out");
    w.Click(IDC_BTN_SAVEAS);
    EXPECT_EQ(backend.fileDialogs.back().initialName, "wireless.cfg");
    EXPECT_EQ(backend.fileDialogs.back().filter, "*.cfg|*.CFG");
    EXPECT_EQ(backend.messages.back(), "Save " + (folder / "out/my.cfg").string() + " OK!");
    EXPECT_EQ(ReadFile(folder / "out/my.cfg").size(), 2048u);

    // A .bin loaded while the list holds only "wireless.cfg" must not leave it without a
    // selection, or the next save would drop the FTP settings.
    ConfigRecord ftp = SampleRecord();
    ftp.sendMode = kSendInstant;
    ftp.sendVia = kViaInternet;
    ftp.sendTo = kToFtp;
    WriteFile(folder / "x.bin", BinFileOf(ftp));
    backend.openAnswers = {folder / "x.bin"};
    w.Click(IDC_BTN_LOAD);
    EXPECT_EQ(w.Items(IDC_COMBO_FILETYPE), std::vector<std::string>{"wireless.cfg"});
    EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 0);
}

TEST_F(MainWindow, SaveChecksTheEmailAccountAndSmsControlFirst) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    w.Click(IDC_RADIO_INTERNET);
    ZeroField(record.smtpServer);
    backend.WhenOpened(IDD_EMAIL_SETTING, [](HeadlessDialog& d) { d.Escape(); });
    w.Click(IDC_BTN_SAVE);
    EXPECT_FALSE(std::filesystem::exists(folder / "wireless.cfg"));
    EXPECT_TRUE(backend.messages.empty());
    EXPECT_TRUE(backend.problems.empty()) << "the Email Setting dialog opened instead";

    w.Click(IDC_RADIO_DAILY);  // the account test is for Instant sending only
    w.Click(IDC_BTN_SAVE);
    EXPECT_TRUE(std::filesystem::exists(folder / "wireless.cfg"));
    std::filesystem::remove(folder / "wireless.cfg");

    backend.messages.clear();
    w.Pick(IDC_COMBO_SMSCONTROL, 1);
    w.Click(IDC_BTN_SAVE);
    EXPECT_EQ(backend.messages,
              std::vector<std::string>{"Please input a phone number when SMS control=on"});
    EXPECT_FALSE(std::filesystem::exists(folder / "wireless.cfg"));
    w.Click(IDC_CHECK_PHONE4);
    w.Type(IDC_EDIT_PHONE4, "123");
    w.Click(IDC_BTN_SAVE);
    EXPECT_TRUE(std::filesystem::exists(folder / "wireless.cfg"));
    EXPECT_EQ(record.smsControl, 1);
}

TEST_F(MainWindow, AFailedSaveKeepsTheOldFileAndTheRecord) {
    auto& w = Open();
    std::filesystem::create_directories(folder / "wireless.cfg");  // cannot be replaced
    const ConfigRecord before = record;
    w.Click(IDC_BTN_SAVE);
    EXPECT_EQ(backend.messages, std::vector<std::string>{"Create File Fail!"});
    EXPECT_TRUE(backend.shownInFileManager.empty());
    EXPECT_EQ(record.saveYear.get(), 0) << "no time stamp on a failed save";
    EXPECT_EQ(record.version, 2) << "the preparation has run";
    EXPECT_EQ(std::memcmp(&record.reserved1197, &before.reserved1197, 851), 0);
    std::error_code ec;
    EXPECT_TRUE(std::filesystem::is_empty(folder / "wireless.cfg", ec));

    backend.saveAnswers = {std::nullopt};
    backend.messages.clear();
    w.Click(IDC_BTN_SAVEAS);
    EXPECT_TRUE(backend.messages.empty()) << "a cancelled Save as says nothing";
}

TEST_F(MainWindow, SaveCopiesTheCarrierPresetAndKeepsCustom) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    w.Pick(IDC_COMBO_COUNTRY, 22);
    CopyText(record.mmsApn, "typed");
    w.Click(IDC_BTN_SAVE);
    EXPECT_NE(TextOf(record.mmsApn), "typed") << "a carrier's preset is what gets saved";
    ConfigRecord expected{};
    CopyPresetToParams(expected, 22, 20);
    EXPECT_EQ(TextOf(record.mmsApn), TextOf(expected.mmsApn));

    // A loaded Custom country keeps its parameters across a change of country and back.
    ConfigRecord custom = SampleRecord();
    custom.countryId = 1;
    custom.operatorId = 1;
    CopyText(custom.mmsApn, "mine");
    WriteFile(folder / "custom.cfg", CfgFileOf(custom));
    backend.openAnswers = {folder / "custom.cfg"};
    w.Click(IDC_BTN_LOAD);
    w.Pick(IDC_COMBO_COUNTRY, 6);
    w.Pick(IDC_COMBO_COUNTRY, 1);
    EXPECT_EQ(TextOf(record.mmsApn), "mine");
}

TEST_F(MainWindow, ACustomRecordLoadedAtStartupKeepsItsParametersAcrossCountries) {
    ConfigRecord custom = SampleRecord();
    custom.countryId = 1;
    custom.operatorId = 1;
    CopyText(custom.mmsApn, "mine");
    CopyText(custom.netApn, "own.apn");
    WriteFile(folder / "wireless.cfg", CfgFileOf(custom));
    auto& w = Open();
    w.Pick(IDC_COMBO_COUNTRY, 6);
    w.Pick(IDC_COMBO_COUNTRY, 1);
    w.Click(IDC_BTN_SAVE);
    const Bytes file = ReadFile(folder / "wireless.cfg");
    EXPECT_EQ(file, CfgFileOf(record));
    EXPECT_EQ(TextOf(record.mmsApn), "mine");
    EXPECT_EQ(TextOf(record.netApn), "own.apn");
}

TEST_F(MainWindow, TextsWithoutTerminatorShowAtMostTheirWidthLessOne) {
    ConfigRecord r = SampleRecord();
    r.sendMode = kSendInstant;
    r.sendVia = kViaInternet;
    r.sendTo = kToEmail;
    r.countryId = 1;
    r.operatorId = 1;
    const auto fill = [](auto& field, char c = 'x') { field.fill(c); };
    for (auto& f : r.phone) fill(f, '5');
    for (auto& f : r.email) fill(f);
    for (auto* f : {&r.mmsApn, &r.mmsUser, &r.mmsPassword, &r.mmsProxy, &r.netApn, &r.netUser,
                    &r.netPassword, &r.smtpPassword, &r.smtpServer, &r.ftpPassword})
        fill(*f);
    for (auto* f : {&r.smtpAccount, &r.ftpAccount, &r.imageFrom}) fill(*f);
    for (auto* f : {&r.mmscUrl, &r.ftpServer, &r.httpServer}) fill(*f);
    fill(r.mmsPort, '8');
    fill(r.smtpPort, '2');
    fill(r.imageFromShort);
    WriteFile(folder / "wireless.cfg", CfgFileOf(r));
    auto& w = Open();
    ASSERT_EQ(record.sendTo, kToEmail);

    using Sizes = std::vector<std::pair<int, std::size_t>>;
    const auto expect = [](const HeadlessDialog& d, const Sizes& sizes) {
        for (const auto& [id, size] : sizes) EXPECT_EQ(d.Text(id).size(), size) << id;
    };
    expect(w, {{IDC_EDIT_PHONE1, 19},
               {IDC_EDIT_PHONE4, 19},
               {IDC_EDIT_EMAIL1, 59},
               {IDC_EDIT_EMAIL4, 59},
               {IDC_EDIT_IMAGEFROM, 15}});
    const auto openAndCheck = [&](int tpl, int button, Sizes sizes) {
        backend.WhenOpened(tpl, [&expect, sizes](HeadlessDialog& d) {
            expect(d, sizes);
            d.Escape();
        });
        w.Click(button);
    };
    openAndCheck(IDD_EMAIL_SETTING, IDC_BTN_SENDTO_SETTING,
                 {{IDC_EMAIL_ACCOUNT, 59},
                  {IDC_EMAIL_PASSWORD, 39},
                  {IDC_EMAIL_SERVER, 39},
                  {IDC_EMAIL_PORT, 5}});
    w.Pick(IDC_COMBO_SENDTO, 1);
    openAndCheck(IDD_HTTP_SETTING, IDC_BTN_SENDTO_SETTING, {{IDC_HTTP_SERVER, 79}});
    w.Pick(IDC_COMBO_SENDTO, 2);
    openAndCheck(IDD_FTP_SETTING, IDC_BTN_SENDTO_SETTING,
                 {{IDC_FTP_ACCOUNT, 59}, {IDC_FTP_PASSWORD, 39}, {IDC_FTP_SERVER, 79}});
    openAndCheck(IDD_OPERATOR_PARAM, IDC_BTN_PARAMETERS,
                 {{IDC_OP_NET_APN, 39},
                  {IDC_OP_NET_USER, 39},
                  {IDC_OP_NET_PASSWORD, 39},
                  {IDC_OP_MMS_APN, 39},
                  {IDC_OP_MMS_USER, 39},
                  {IDC_OP_MMS_PASSWORD, 39},
                  {IDC_OP_MMSC_URL, 79},
                  {IDC_OP_MMS_PROXY, 39},
                  {IDC_OP_MMS_PORT, 5}});
    EXPECT_TRUE(backend.problems.empty());

    // An edit rebuilds both Image From fields from what was shown, not from 16 bytes.
    w.Type(IDC_EDIT_IMAGEFROM, "y");
    EXPECT_EQ(TextOf(record.imageFrom), "y" + std::string(15, 'x'));
}

}  // namespace
}  // namespace ostrova::ui::testing
