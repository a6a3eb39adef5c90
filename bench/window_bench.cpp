// The main window's per-event costs on the headless backend: one keystroke through the whole
// handler, one clock tick's push, and the master refresh.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "config/record.h"
#include "platform/headless/headless.h"
#include "res/resource_ids.h"
#include "ui/main/settings_dlg.h"

namespace {

using namespace ostrova::res;
using ostrova::platform::headless::HeadlessBackend;
using ostrova::platform::headless::HeadlessDialog;

// The main window open with Instant sending and the first phone recipient ticked.
struct Window {
    Window() {
        folder = std::filesystem::temp_directory_path() /
                 ("ostrova-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        backend.programPath = folder / "ostrova-settings";  // no settings file there
        dlg = std::make_unique<ostrova::ui::CSettingsDlg>(record, custom);
        w = &backend.Show(*dlg);
        w->Click(IDC_RADIO_INSTANT);
        w->Click(IDC_CHECK_PHONE1);
        w->Type(IDC_EDIT_PHONE1, "+35840123");
    }
    ~Window() {
        backend.Dismiss(*dlg);
        std::filesystem::remove_all(folder);
    }
    HeadlessBackend backend;
    ostrova::ConfigRecord record{};
    ostrova::CustomPreset custom{};
    std::unique_ptr<ostrova::ui::CSettingsDlg> dlg;
    HeadlessDialog* w = nullptr;
    std::filesystem::path folder;
};

// One character typed and taken back again, so every iteration meets the same text; the
// counter gives the time of one keystroke.
void Keystroke(benchmark::State& state, int edit, const char* ch) {
    Window win;
    for (auto _ : state) {
        win.w->Type(edit, ch);
        win.w->Backspace(edit);
    }
    if (win.backend.messages.size() != 0) state.SkipWithError("the keystrokes raised a message");
    state.counters["keystroke"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 2,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_KeystrokeRecipient(benchmark::State& state) {
    Keystroke(state, IDC_EDIT_PHONE1, "5");
}
BENCHMARK(BM_KeystrokeRecipient);

void BM_KeystrokeNumeric(benchmark::State& state) {
    Keystroke(state, IDC_EDIT_MAXNUM, "5");
}
BENCHMARK(BM_KeystrokeNumeric);

void BM_ClockTick(benchmark::State& state) {
    Window win;
    for (auto _ : state) {
        win.backend.now.tm_sec = (win.backend.now.tm_sec + 1) % 60;  // a new text each second
        win.backend.Tick();
    }
}
BENCHMARK(BM_ClockTick);

void BM_UpdateFormState(benchmark::State& state) {
    Window win;
    for (auto _ : state) win.dlg->UpdateFormState();
}
BENCHMARK(BM_UpdateFormState);

}  // namespace

BENCHMARK_MAIN();
