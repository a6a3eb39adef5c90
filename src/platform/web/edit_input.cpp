// Text fields: the page stops every change (beforeinput) and reports it; the framework's rule
// decides, and its text, caret and selection are rendered back. A refused change leaves the
// field as it was, since the page never made it.
#include <algorithm>
#include <vector>

#include "platform/cp1252.h"
#include "platform/web/dialog_window.h"

using emscripten::val;

namespace ostrova::platform::web {
namespace {

bool Blank(char32_t c) { return c == U' ' || c == U'\t' || c == U'\u00A0'; }

// Where Ctrl+Backspace and Ctrl+Delete stop: across blanks, then across a word.
int WordStart(const std::vector<char32_t>& t, int from) {
    while (from > 0 && Blank(t[static_cast<std::size_t>(from - 1)])) --from;
    while (from > 0 && !Blank(t[static_cast<std::size_t>(from - 1)])) --from;
    return from;
}

int WordEnd(const std::vector<char32_t>& t, int from) {
    const int n = static_cast<int>(t.size());
    while (from < n && !Blank(t[static_cast<std::size_t>(from)])) ++from;
    while (from < n && Blank(t[static_cast<std::size_t>(from)])) ++from;
    return from;
}

}  // namespace

bool WebDialog::TakeSelection(int index, const val& event) {
    // The selection the page shows: the user may have moved it (mouse, Shift+arrows) since.
    const ControlState& s = State(index);
    const int anchor = event["anchor"].as<int>();
    const int caret = event["caret"].as<int>();
    if (Focusable(index)["value"].as<std::string>() != dlg_.DisplayText(index)) return false;
    if (anchor != s.anchor || caret != s.caret) dlg_.UserSetEditSelection(s.id, anchor, caret);
    return true;
}

void WebDialog::OnEdit(int index, const val& event) {
    TakeSelection(index, event);
    const ControlState& s = State(index);
    const int id = s.id;
    const std::string op = event["op"].as<std::string>();
    const std::string data = event["data"].as<std::string>();
    const std::vector<char32_t> text = DecodeUtf8(dlg_.DisplayText(index));
    const int length = static_cast<int>(text.size());
    const int lo = std::clamp(std::min(s.anchor, s.caret), 0, length);
    const int hi = std::clamp(std::max(s.anchor, s.caret), 0, length);
    const bool selected = lo < hi;
    if (op == "insertText") {
        dlg_.UserReplace(id, lo, hi, data, EditKind::Typing);
    } else if (op.starts_with("insertFrom") || op == "insertReplacementText") {
        dlg_.UserReplace(id, lo, hi, data, EditKind::Paste);
    } else if (op == "deleteContentBackward") {
        dlg_.UserReplace(id, selected ? lo : std::max(0, lo - 1), hi, "", EditKind::Backspace);
    } else if (op == "deleteContentForward") {
        dlg_.UserReplace(id, lo, selected ? hi : std::min(length, hi + 1), "", EditKind::Delete);
    } else if (op == "deleteByCut" || op == "deleteByDrag" || op == "deleteContent") {
        if (selected) dlg_.UserReplace(id, lo, hi, "", EditKind::Delete);
    } else if (op == "deleteWordBackward") {
        dlg_.UserReplace(id, selected ? lo : WordStart(text, lo), hi, "", EditKind::RemoveRange);
    } else if (op == "deleteWordForward") {
        dlg_.UserReplace(id, lo, selected ? hi : WordEnd(text, hi), "", EditKind::RemoveRange);
    } else if (op == "deleteSoftLineBackward" || op == "deleteHardLineBackward") {
        dlg_.UserReplace(id, selected ? lo : 0, hi, "", EditKind::RemoveRange);
    } else if (op == "deleteSoftLineForward" || op == "deleteHardLineForward") {
        dlg_.UserReplace(id, lo, selected ? hi : length, "", EditKind::RemoveRange);
    } else if (op == "historyUndo") {
        dlg_.UserUndo(id);
    } else if (op == "historyRedo") {
        dlg_.UserRedo(id);
    }
}

void WebDialog::OnEdited(int index, const val& event) {
    // An input method's text, which the page cannot stop: the framework judges the result and
    // the field shows what it kept.
    dlg_.UserEdit(Id(index), event["text"].as<std::string>(), event["caret"].as<int>(), std::nullopt);
    if (ended_) return;
    RenderText(index);
    RenderEditSelection(index);
}

void WebDialog::OnCaret(int index, const val& event) {
    // Caret moves only while the field has the focus; an unfocused field keeps the framework's.
    const val active = val::global("document")["activeElement"];
    if (!active.strictlyEquals(Focusable(index))) return;
    TakeSelection(index, event);
}

void WebDialog::OnUndo(int index, const val& event) {
    TakeSelection(index, event);
    if (event["redo"].as<bool>())
        dlg_.UserRedo(Id(index));
    else
        dlg_.UserUndo(Id(index));
}

}  // namespace ostrova::platform::web
