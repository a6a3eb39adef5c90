// Long random sessions of a user on the main window and its dialogs: typing and pasting odd
// text, clicking everything, picking list entries, saving where nothing can be written,
// loading what was saved, restarting. After every step the record's texts end inside their fields,
// no selection runs past its text, and no dialog opens that nobody expected.
// OSTROVA_FUZZ_STEPS and OSTROVA_FUZZ_SEED run other or longer sessions.
#include <cstdlib>
#include <cstring>
#include <random>

#include "main_window_fixture.h"
#include "platform/framework.h"

namespace ostrova::ui::testing {
namespace {

using platform::ControlKind;

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0' ? std::strtoull(v, nullptr, 10) : fallback;
}

// clang-format off
// The widths of the record's text fields from offset 20 on; 0 marks two bytes that are no text.
constexpr std::size_t kTextWidths[] = {
    20, 20, 20, 20, 60, 60, 60, 60, 60, 40, 40, 6, 40, 40, 40, 80, 40, 6, 40, 40, 40, 16, 0, 60,
    40, 80, 80, 60};
// Pieces of text: plain, Windows-1252, outside it, control characters, no UTF-8 at all.
constexpr std::string_view kPieces[] = {
    "a", "7", "42", "@", ".", " ", "\xC3\xA9", "\xE2\x82\xAC", "\xD0\x96", "\xF0\x9F\x98\x80",
    "\xC2\x81", "\t", "\r\n", "\x7F", std::string_view("\0", 1), "\xFF", "\xC3",
    "12345678901234567890", "http://mms.example.net/mms?x=1&y=2"};
// clang-format on

class TypingFuzz : public MainWindow {
protected:
    std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(rng() % n); }
    std::string Text() {
        std::string s;
        for (std::size_t n = Below(5) == 0 ? Below(120) : Below(8); n > 0; --n)
            s += kPieces[Below(std::size(kPieces))];
        return s;
    }
    // One thing done to a random enabled control of an open dialog.
    void Fiddle(HeadlessDialog& d) {
        std::vector<const platform::ControlState*> found;
        for (const auto& c : d.dialog().controls())
            if (c.enabled && c.id != platform::kNoId) found.push_back(&c);
        if (found.empty()) return;
        const auto& c = *found[Below(found.size())];
        if (c.kind == ControlKind::CheckBox || c.kind == ControlKind::RadioButton ||
            c.kind == ControlKind::PushButton)
            d.Click(c.id);
        if (!c.items.empty()) d.Pick(c.id, static_cast<int>(Below(c.items.size())));
        if (c.kind != ControlKind::Edit && c.kind != ControlKind::ComboDropDown) return;
        Below(2) == 0 ? d.SelectAll(c.id) : d.SetCaret(c.id, static_cast<int>(Below(90)));
        const std::size_t action = Below(3);
        action == 0   ? d.Type(c.id, Text())
        : action == 1 ? d.Paste(c.id, Text())
                      : d.Backspace(c.id, static_cast<int>(Below(30)));
    }
    // Every secondary dialog: a few random actions, which may end it, then Enter or Escape.
    void Play(HeadlessDialog& d) {
        backend.WhenOpened(d.dialog().dialogTemplate().id, [this](HeadlessDialog& e) { Play(e); });
        for (std::size_t n = Below(10); n > 0 && !d.ended; --n) Fiddle(d);
        if (!d.ended) Below(2) == 0 ? d.Enter() : d.Escape();
        if (!d.ended) d.Escape();
    }
    // One step on the main window: mostly one action, which may be a click on Load, Save, Save
    // as or a settings button; sometimes a restart.
    void Step() {
        backend.openAnswers = {folder / kTargets[Below(2)]};  // a file the session saved, or none
        backend.saveAnswers = {folder / kTargets[Below(3)]};
        if (Below(20) > 0) return Fiddle(*w);
        w->Escape();
        Open();
    }
    // What must hold after every step; the first thing that does not.
    std::string Broken() {
        std::size_t offset = 20;
        for (std::size_t width : kTextWidths) {
            const auto* f = record.bytes().data() + offset;
            if (width > 0 && std::memchr(f, 0, width) == nullptr)
                return "the text at " + std::to_string(offset) + " has no end";
            offset += width > 0 ? width : 2;
        }
        if (!backend.problems.empty()) return backend.problems.front();
        for (const auto& c : dlg->controls())
            if (std::max(c.anchor, c.caret) > static_cast<int>(c.text.size()))
                return "control " + std::to_string(c.id) + " selects past its text";
        return "";
    }

    static constexpr const char* kTargets[] = {"out.cfg", "out.bin", "blocked/wireless.cfg"};
    std::mt19937_64 rng;
};

TEST_F(TypingFuzz, RandomSessionsKeepTheRecordAndTheFormSound) {
    const std::uint64_t seed = EnvNumber("OSTROVA_FUZZ_SEED", 20240517);
    const std::size_t steps = EnvNumber("OSTROVA_FUZZ_STEPS", 5000);
    rng.seed(seed);
    std::filesystem::create_directories(folder / "blocked" / "wireless.cfg");
    for (int tpl :
         {IDD_ABOUTBOX, IDD_EMAIL_SETTING, IDD_OPERATOR_PARAM, IDD_FTP_SETTING, IDD_HTTP_SETTING})
        backend.WhenOpened(tpl, [this](HeadlessDialog& d) { Play(d); });
    Open();
    for (std::size_t step = 0; step < steps; ++step) {
        Step();
        ASSERT_EQ(Broken(), "") << "seed " << seed << ", step " << step;
    }
    EXPECT_GT(backend.fileDialogs.size(), steps / 20) << "the session went through the commands";
}

}  // namespace
}  // namespace ostrova::ui::testing
