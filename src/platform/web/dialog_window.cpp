#include "platform/web/dialog_window.h"

#include <algorithm>
#include <cmath>

#include "platform/cp1252.h"
#include "platform/web/backend.h"

using emscripten::val;

namespace ostrova::platform::web {
namespace {

// MulDiv: a * b / c rounded to nearest, as the dialog manager scales.
int MulDiv(int a, int b, int c) { return (a * b + c / 2) / c; }

std::string Quoted(std::string_view face) { return "\"" + std::string(face) + "\""; }

}  // namespace

DialogMetrics MetricsFor(const DialogTemplate& tpl) {
    DialogMetrics m;
    const int px = static_cast<int>(std::lround(tpl.fontPoints * 96.0 / 72.0));  // 10 pt: 13 px
    m.font = std::to_string(px) + "px " + Quoted(tpl.fontFace);
    std::string letters;
    for (char c = 'A'; c <= 'Z'; ++c) letters += c;
    for (char c = 'a'; c <= 'z'; ++c) letters += c;
    const val measured = val::global("ostrovaPage").call<val>("measure", m.font, letters);
    const int advance = static_cast<int>(std::lround(measured["width"].as<double>()));
    m.baseX = (advance / 26 + 1) / 2;
    m.baseY = measured["ascent"].as<int>() + measured["descent"].as<int>();
    return m;
}

PixelRect ToPixels(const DluRect& r, const DialogMetrics& m) {
    return {MulDiv(r.x, m.baseX, 4), MulDiv(r.y, m.baseY, 8), MulDiv(r.w, m.baseX, 4),
            MulDiv(r.h, m.baseY, 8)};
}

std::string CssFontForCellHeight(const FontSpec& font) {
    // The largest pixel size whose ascent + descent fits the cell.
    const std::string style = std::string(font.italic ? "italic " : "") + std::to_string(font.weight) + " ";
    const val page = val::global("ostrovaPage");
    auto cell = [&](int px) {
        const val m = page.call<val>("measure", style + std::to_string(px) + "px " + Quoted(font.face),
                                     std::string("x"));
        return m["ascent"].as<int>() + m["descent"].as<int>();
    };
    int px = std::max(1, font.cellHeight);
    while (px > 1 && cell(px) > font.cellHeight) --px;
    return style + std::to_string(px) + "px " + Quoted(font.face);
}

std::string ForPage(std::string_view cp1252) { return Cp1252ToUtf8(cp1252); }

WebDialog::WebDialog(CDialog& dlg, WebBackend& backend, WebDialog* owner)
    : dlg_(dlg),
      backend_(backend),
      owner_(owner),
      serial_(backend.NewSerial()),
      metrics_(MetricsFor(dlg.dialogTemplate())) {
    BuildFrame();
}

WebDialog::~WebDialog() {
    val::global("ostrovaPage").call<void>("stopTimers", serial_);
    layer_.call<void>("remove");
    // The owner's control that had the focus gets it back, as the dialog manager gives it.
    if (owner_ != nullptr && !owner_->ended()) {
        CDialog& o = owner_->dialog();
        owner_->FocusControl(o.IndexOf(o.focusedId()));
    }
}

const ControlState& WebDialog::State(int index) const {
    return dlg_.controls()[static_cast<std::size_t>(index)];
}

val WebDialog::Control(int index) const {
    if (index < 0 || index >= static_cast<int>(controls_.size())) return val::null();
    return controls_[static_cast<std::size_t>(index)];
}

val WebDialog::Focusable(int index) const {
    if (index < 0 || index >= static_cast<int>(focusables_.size())) return val::null();
    return focusables_[static_cast<std::size_t>(index)];
}

std::string WebDialog::ElementId(int index) const {
    return "v" + std::to_string(serial_) + "c" + std::to_string(index);
}

void WebDialog::Show() {
    layer_["classList"].call<void>("add", std::string("shown"));
}

void WebDialog::Handle(const val& event) {
    const std::string type = event["type"].as<std::string>();
    const val at = event["index"];
    const int index = at.isNumber() ? at.as<int>() : -1;
    if (type == "key") return OnKey(event);
    if (type == "vscroll")
        return dlg_.UserVScroll(static_cast<ScrollRequest>(event["code"].as<int>()),
                                event["pos"].as<int>());
    if (type == "wheel") return dlg_.UserMouseWheel(event["delta"].as<int>());
    if (type == "syscommand") return dlg_.UserSysCommand(event["command"].as<int>());
    if (type == "close") return dlg_.UserCancel();
    if (index < 0 || index >= static_cast<int>(controls_.size())) return;
    if (type == "edit") return OnEdit(index, event);
    if (type == "edited") return OnEdited(index, event);
    if (type == "caret") return OnCaret(index, event);
    if (type == "undo") return OnUndo(index, event);
    if (type == "focus") return dlg_.UserFocus(Id(index));
    if (type == "click") {
        dlg_.UserClick(Id(index));
        if (!ended_) RenderCheck(index);  // a click on a checked radio leaves it checked
        return;
    }
    if (type == "pick") {
        dlg_.UserPick(Id(index), event["item"].as<int>());
        return;
    }
}

void WebDialog::OnTimer(int timerId) { dlg_.UserTimer(timerId); }

// --- Rendering -------------------------------------------------------------------------------

void WebDialog::ControlChanged(int index, std::uint32_t flags) {
    if (Control(index).isNull()) return;
    RenderChanges(index, flags);
}

void WebDialog::FocusControl(int index) {
    const val target = Focusable(index);
    val::global("ostrovaPage").call<void>("focusQuietly", target.isNull() ? window_ : target);
    if (!target.isNull()) RenderEditSelection(index);
}

void WebDialog::MoveFocus(int index, FocusMove how) {
    const val target = Focusable(index);
    if (target.isNull()) return;
    val::global("ostrovaPage").call<void>("focusQuietly", target);
    // The framework reports a dialog's first focus itself; a keyboard move is the user's.
    if (how != FocusMove::Start) dlg_.UserFocus(Id(index));
    if (!ended_) RenderEditSelection(index);
}

void WebDialog::EndModal(int result) {
    (void)result;
    ended_ = true;
    val::global("ostrovaPage").call<void>("stopTimers", serial_);
    layer_["classList"].call<void>("remove", std::string("shown"));
}

void WebDialog::StartTimer(int timerId, int periodMs) {
    val::global("ostrovaPage").call<void>("startTimer", serial_, timerId, periodMs);
}

}  // namespace ostrova::platform::web
