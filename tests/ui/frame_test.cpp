// The main window's frame: size by screen height and DPI, scrolling, the About box; and the
// application object that runs it: one modal run, nothing saved on close.
#include <cstdlib>

#include "main_window_fixture.h"
#include "ui/dialogs/about_dlg.h"
#include "ui/main/frame_metrics.h"
#include "ui/main/settings_app.h"

namespace ostrova::ui::testing {
namespace {

using platform::ScrollRequest;

// DPI and screen height; scrolling, window width and height, overflow, scroll maximum and page,
// wheel step.
const std::tuple<int, int, bool, int, int, int, int, int, int> kSizingRows[] = {
    {96, 750, false, 548, 690, 0, 0, 0, 30},         {96, 749, true, 568, 689, 67, 268, 201, 30},
    {96, 720, true, 568, 660, 96, 384, 288, 30},     {100, 800, false, 570, 690, 0, 0, 0, 31},
    {115, 900, false, 656, 826, 0, 0, 0, 35},        {116, 900, true, 698, 840, 72, 288, 216, 36},
    {120, 1080, false, 703, 862, 0, 0, 0, 37},       {120, 900, true, 722, 840, 105, 420, 315, 37},
    {144, 1080, true, 864, 1020, 114, 456, 342, 45}, {72, 600, false, 422, 517, 0, 0, 0, 22},
};

TEST(FrameSizing, FollowsTheTable) {
    for (const auto& [dpi, height, scrolls, width, windowHeight, overflow, max, page, step] :
         kSizingRows) {
        const FrameMetrics m = ComputeFrameMetrics(height, dpi);
        EXPECT_EQ(std::tuple(m.scrollEnabled, m.width, m.height, m.overflow, m.scrollMax,
                             m.scrollPage, WheelStep(dpi)),
                  std::tuple(scrolls, width, windowHeight, overflow, max, page, step))
            << dpi << " dpi, " << height;
    }
}

TEST_F(MainWindow, ShortScreenScrollsByBarAndWheel) {
    backend.screenHeight = 720;
    auto& w = Open();
    ASSERT_EQ(std::pair(w.scroll.max, w.scroll.page), std::pair(384, 288));
    using R = ScrollRequest;
    constexpr auto kWheel = R(-1);  // thumb holds the wheel's delta
    // clang-format off
    const std::tuple<R, int, int> steps[] = {  // request, thumb, position
        {R::LineDown, 0, 10}, {R::Top, 0, 0}, {R::PageDown, 0, 20}, {R::Bottom, 0, 96},
        {R::PageDown, 0, 96}, {R::PageUp, 0, 76}, {R::ThumbTrack, 5, 5}, {R::LineUp, 0, 0},
        {R::ThumbTrack, 50, 50}, {R::ThumbPosition, 10, 50}, {R::EndScroll, 0, 50},
        {kWheel, 120, 20}, {kWheel, -120, 50}, {kWheel, 0, 80}, {R::Top, 0, 0}};
    // clang-format on
    for (const auto& [request, thumb, pos] : steps) {
        if (request == kWheel)
            w.Wheel(thumb);
        else
            w.VScroll(request, thumb);
        EXPECT_EQ(w.scroll.pos, pos) << int(request) << " " << thumb;
        EXPECT_EQ(w.contentOffset, -pos) << "the content moves as one with the position";
    }
}

// The window stands at the top left corner. A form wider than the frame's width widens it, with
// the form's margin on the right; one that fits, even without that margin, never changes it.
TEST_F(MainWindow, StandsAtTheTopLeftCornerWideEnoughForItsFormAndOffersTheAboutBox) {
    backend.screenHeight = 1080;
    backend.dpi = 120;
    for (const auto& [edge, width] : {std::pair(704, 720), std::pair(703, 703)}) {
        backend.formWidths = {edge, 720};
        Open();
        ASSERT_TRUE(w->windowRect.has_value());
        EXPECT_EQ(
            std::tuple(w->windowRect->x, w->windowRect->y, w->windowRect->w, w->windowRect->h),
            std::tuple(0, 0, width, 862));
    }
    auto& w = *this->w;
    w.Wheel(-120);
    EXPECT_EQ(w.contentOffset, 0) << "no scrolling on a tall screen";
    EXPECT_EQ(w.systemMenu,
              (std::vector<std::pair<int, std::string>>{{16, "About Ostrova+ (&A)..."}}));
    const std::string notes = BuildReleaseNotes();  // five blocks of six lines ended by CR LF
    std::size_t crlf = 0;
    for (std::size_t at = 0; (at = notes.find("\r\n", at)) != std::string::npos; at += 2) ++crlf;
    EXPECT_EQ(std::tuple(crlf, std::ranges::count(notes, '\r') + std::ranges::count(notes, '\n')),
              std::tuple(30u, 60));
    int opened = 0;
    for (int i = 0; i < 3; ++i)
        backend.WhenOpened(IDD_ABOUTBOX, [&](HeadlessDialog& about) {
            EXPECT_EQ(about.Text(IDC_EDIT_RELEASENOTES), notes);
            ++opened % 2 == 1 ? about.Click(IDOK) : about.Escape();  // either closes it
        });
    for (int command : {16, 31, 32, 0xF060, 0x10010}) w.SysCommand(command);
    EXPECT_EQ(opened, 3) << "16, 31, and 0x10010: only the low 16 bits count";
    EXPECT_TRUE(backend.problems.empty());
}

TEST_F(MainWindow, AnInstalledCopyRunsTheMainWindowOnceInThePerUserFolder) {
#ifdef _WIN32
    _putenv_s("LOCALAPPDATA", (folder / "data").string().c_str());
#else
    ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
#endif
    // An installed copy: its own folder cannot be written (here: it does not exist).
    backend.programPath = folder / "usr" / "bin" / "ostrova-settings";
    std::vector<std::filesystem::path> runs;
    backend.WhenOpened(IDD_MAIN, [&](HeadlessDialog& main) {
        runs.push_back(std::filesystem::current_path());
        main.Click(IDC_RADIO_INSTANT);
        main.Escape();
    });
    EXPECT_FALSE(CSettingsApp().InitInstance());
    EXPECT_EQ(runs, std::vector{folder / "data" / "ostrova-settings"});
    EXPECT_TRUE(std::filesystem::is_empty(folder / "data" / "ostrova-settings")) << "nothing saved";
}

}  // namespace
}  // namespace ostrova::ui::testing
