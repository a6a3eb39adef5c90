// The main window's frame: size by screen height and DPI, scrolling, the About command.
#include "main_window_fixture.h"
#include "ui/main/frame_metrics.h"

namespace ostrova::ui::testing {
namespace {

using namespace ostrova::res;
using platform::ScrollRequest;

struct SizingRow {
    int dpi, height;
    bool shortScreen;
    int width, windowHeight, overflow, max, page, step;
};

class Sizing : public ::testing::TestWithParam<SizingRow> {};

TEST_P(Sizing, FollowsTheTable) {
    const SizingRow r = GetParam();
    const FrameMetrics m = ComputeFrameMetrics(r.height, r.dpi);
    EXPECT_EQ(m.scrollEnabled, r.shortScreen);
    EXPECT_EQ(m.width, r.width);
    EXPECT_EQ(m.height, r.windowHeight);
    EXPECT_EQ(m.overflow, r.shortScreen ? r.overflow : 0);
    EXPECT_EQ(m.scrollMax, r.max);
    EXPECT_EQ(m.scrollPage, r.page);
    EXPECT_EQ(WheelStep(r.dpi), r.step);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, Sizing,
    ::testing::Values(SizingRow{96, 768, false, 548, 690, 0, 0, 0, 30},
                      SizingRow{96, 750, false, 548, 690, 0, 0, 0, 30},
                      SizingRow{96, 749, true, 568, 689, 67, 268, 201, 30},
                      SizingRow{96, 720, true, 568, 660, 96, 384, 288, 30},
                      SizingRow{100, 800, false, 570, 690, 0, 0, 0, 31},
                      SizingRow{110, 900, false, 627, 790, 0, 0, 0, 34},
                      SizingRow{115, 900, false, 656, 826, 0, 0, 0, 35},
                      SizingRow{116, 900, true, 698, 840, 72, 288, 216, 36},
                      SizingRow{120, 1080, false, 703, 862, 0, 0, 0, 37},
                      SizingRow{120, 900, true, 722, 840, 105, 420, 315, 37},
                      SizingRow{144, 1080, true, 864, 1020, 114, 456, 342, 45},
                      SizingRow{72, 600, false, 422, 517, 0, 0, 0, 22}));

TEST_F(MainWindow, StandsAtTheTopLeftCornerWithItsComputedSize) {
    backend.screenHeight = 1080;
    backend.dpi = 120;
    auto& w = Open();
    ASSERT_TRUE(w.windowRect.has_value());
    EXPECT_EQ(w.windowRect->x, 0);
    EXPECT_EQ(w.windowRect->y, 0);
    EXPECT_EQ(w.windowRect->w, 703);
    EXPECT_EQ(w.windowRect->h, 862);
    EXPECT_EQ(w.scroll.max, 0);
    EXPECT_EQ(w.systemMenu, (std::vector<std::pair<int, std::string>>{{16, "About Ostrova+ (&A)..."}}));
    w.Wheel(-120);
    EXPECT_EQ(w.contentOffset, 0) << "no scrolling on a tall screen";
}

TEST_F(MainWindow, ShortScreenScrollsByBarAndWheel) {
    backend.screenHeight = 720;
    auto& w = Open();
    ASSERT_EQ(w.scroll.max, 384);
    ASSERT_EQ(w.scroll.page, 288);
    auto expectAt = [&](int pos, int offset) {
        EXPECT_EQ(w.scroll.pos, pos);
        EXPECT_EQ(w.contentOffset, -offset) << "the content moves as one with the position";
    };
    for (int i = 0; i < 3; ++i) w.VScroll(ScrollRequest::LineDown);
    expectAt(30, 30);
    w.VScroll(ScrollRequest::Top);
    expectAt(0, 0);
    for (int i = 0; i < 4; ++i) w.VScroll(ScrollRequest::PageDown);
    expectAt(80, 80);
    w.VScroll(ScrollRequest::PageDown);
    expectAt(96, 96);
    w.VScroll(ScrollRequest::ThumbTrack, 5);
    expectAt(5, 5);
    w.VScroll(ScrollRequest::LineUp);
    expectAt(0, 0);
    w.VScroll(ScrollRequest::ThumbTrack, 20);
    w.VScroll(ScrollRequest::ThumbTrack, 50);
    expectAt(50, 50);
    w.VScroll(ScrollRequest::ThumbPosition, 10);
    w.VScroll(ScrollRequest::EndScroll);
    expectAt(50, 50);
    w.VScroll(ScrollRequest::Bottom);
    expectAt(96, 96);
    w.VScroll(ScrollRequest::PageUp);
    expectAt(76, 76);
    w.VScroll(ScrollRequest::Top);
    for (int i = 0; i < 3; ++i) w.Wheel(-120);
    expectAt(90, 90);
    w.Wheel(0);  // a delta of 0 scrolls down
    expectAt(96, 96);
    w.Wheel(120);
    expectAt(66, 66);
}

TEST_F(MainWindow, SystemCommands16To31OpenTheAboutBox) {
    auto& w = Open();
    int opened = 0;
    auto close = [&](HeadlessDialog& about) {
        ++opened;
        about.Click(IDOK);
    };
    backend.WhenOpened(IDD_ABOUTBOX, close);
    backend.WhenOpened(IDD_ABOUTBOX, close);
    backend.WhenOpened(IDD_ABOUTBOX, close);
    w.SysCommand(16);
    w.SysCommand(31);
    w.SysCommand(32);
    w.SysCommand(0xF060);  // close: default handling, not the About box
    w.SysCommand(0x10010);  // only the low 16 bits count
    EXPECT_EQ(opened, 3);
    EXPECT_TRUE(backend.problems.empty());
}

}  // namespace
}  // namespace ostrova::ui::testing
