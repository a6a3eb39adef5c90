// What the user does to an edit, judged by the edit's declared rule before any handler hears of
// it: typing, paste, deletion (reported as a replacement or as the text and caret after it),
// undo and redo as the platform's plain field steps, and caret moves.
#include <algorithm>

#include "platform/cp1252.h"
#include "platform/framework.h"

namespace ostrova::platform {

namespace {

bool IsDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

bool Editable(const ControlState& s) {
    return (s.kind == ControlKind::Edit || s.kind == ControlKind::ComboDropDown) && s.enabled &&
           (s.style & kStyleReadOnly) == 0;
}

}  // namespace

EditSnapshot CDialog::SnapshotOf(const ControlState& s) {
    return {s.text, s.anchor, s.caret};
}

bool CDialog::UserReplace(int id, int start, int end, std::string_view utf8, EditKind kind) {
    const int index = IndexOf(id);
    if (index < 0 || exchangeDepth_ > 0) return false;
    ControlState& s = controls_[static_cast<std::size_t>(index)];
    auto refuse = [&] {
        TouchIndex(index, kChangedText | kChangedEditSel);  // the widget shows the old state again
        return false;
    };
    if (!Editable(s)) return refuse();
    const int len = static_cast<int>(s.text.size());
    start = std::clamp(start, 0, len);
    end = std::clamp(end, 0, len);
    if (start > end) std::swap(start, end);

    // Characters outside the code page, control characters and, in a digits-only edit, anything
    // but a digit refuse the whole insertion: a paste is taken whole or not at all.
    std::string inserted;
    for (const char32_t cp : DecodeUtf8(utf8)) {
        const auto b = Cp1252FromCodePoint(cp);
        const bool control = cp < 0x20 || (cp >= 0x7F && cp < 0xA0);
        if (!b || control || (s.rule.digitsOnly && !IsDigit(cp))) return refuse();
        inserted += static_cast<char>(*b);
    }
    const std::size_t kept = static_cast<std::size_t>(len - (end - start));
    const std::size_t maxBytes = static_cast<std::size_t>(s.rule.maxBytes);
    if (maxBytes > 0 && s.rule.keepsLast) {
        // Past the limit the field keeps its last accepted text.
        if (kept + inserted.size() > maxBytes) return refuse();
    } else if (maxBytes > 0) {
        // The limit refuses growth past it, and a paste takes the part that fits; shortening
        // is always allowed, even of a longer text from a file.
        const std::size_t ceiling = std::max(maxBytes, static_cast<std::size_t>(len));
        const std::size_t room = ceiling > kept ? ceiling - kept : 0;
        if (!inserted.empty() && room == 0) return refuse();
        if (inserted.size() > room) inserted.resize(room);
    }
    if (start == end && inserted.empty()) return false;  // Backspace at the start: no change

    const EditSnapshot before = SnapshotOf(s);
    s.history.Record(before, start, end, inserted, kind);
    s.text = s.text.substr(0, static_cast<std::size_t>(start)) + inserted +
             s.text.substr(static_cast<std::size_t>(end));
    s.anchor = s.caret = start + static_cast<int>(inserted.size());
    CommitEdit(index);
    return true;
}

void CDialog::CommitEdit(int index) {
    TouchIndex(index, kChangedText | kChangedEditSel);
    Raise(controls_[static_cast<std::size_t>(index)].id, Notify::Changed);
}

bool CDialog::UserEdit(int id, std::string_view textUtf8, int caret, std::optional<EditKind> kind) {
    const int index = IndexOf(id);
    if (index < 0) return false;
    const ControlState& s = controls_[static_cast<std::size_t>(index)];
    const std::vector<char32_t> o = DecodeUtf8(Cp1252ToUtf8(s.text));
    const std::vector<char32_t> n = DecodeUtf8(textUtf8);
    const int on = static_cast<int>(o.size());
    const int nn = static_cast<int>(n.size());
    const int lo = std::clamp(std::min(s.anchor, s.caret), 0, on);
    const int hi = std::clamp(std::max(s.anchor, s.caret), 0, on);
    const int c = std::clamp(s.caret, 0, on);
    const int p = std::clamp(caret, 0, nn);
    auto same = [&](int oFrom, int nFrom, int count) {
        return oFrom >= 0 && nFrom >= 0 && count >= 0 && oFrom + count <= on &&
               nFrom + count <= nn &&
               std::equal(o.begin() + oFrom, o.begin() + oFrom + count, n.begin() + nFrom);
    };
    // The old text with [start, end) replaced by n[start, p) and its tail from `end` on.
    auto replaced = [&](int start, int end) {
        return p >= start && nn - p == on - end && same(0, 0, start) && same(end, p, on - end);
    };
    int start = 0, end = on, insEnd = nn;
    if (lo < hi && replaced(lo, hi)) {
        start = lo, end = hi, insEnd = p;  // typing, paste, cut or deletion over the selection
    } else if (lo == hi && nn > on && replaced(c, c)) {
        start = end = c, insEnd = p;  // inserted at the caret
    } else if (lo == hi && nn < on && p < c && nn == on - (c - p) && same(0, 0, p) &&
               same(c, p, on - c)) {
        start = p, end = c, insEnd = p;  // removed before the caret
    } else if (lo == hi && nn < on && p == c && same(0, 0, c) && same(c + on - nn, c, nn - c)) {
        start = c, end = c + on - nn, insEnd = c;  // removed after the caret
    } else {
        // Something else (a drag inside the field, an input method): the smallest change.
        start = 0;
        while (start < on && start < nn &&
               o[static_cast<std::size_t>(start)] == n[static_cast<std::size_t>(start)])
            ++start;
        int suffix = 0;
        while (suffix < on - start && suffix < nn - start &&
               o[static_cast<std::size_t>(on - 1 - suffix)] ==
                   n[static_cast<std::size_t>(nn - 1 - suffix)])
            ++suffix;
        end = on - suffix;
        insEnd = nn - suffix;
    }
    std::string inserted;
    for (int i = start; i < insEnd; ++i) AppendUtf8(inserted, n[static_cast<std::size_t>(i)]);
    if (!kind) {
        // One character at the caret or over the selection is a key's; more is a paste's.
        if (insEnd - start == 1 && (start == end || (start == lo && end == hi)))
            kind = EditKind::Typing;
        else if (inserted.empty() && lo < hi && start == lo && end == hi)
            kind = EditKind::Delete;
        else if (inserted.empty() && lo == hi && end == c && end - start == 1)
            kind = EditKind::Backspace;
        else if (inserted.empty() && lo == hi && start == c && end - start == 1)
            kind = EditKind::Delete;
        else if (inserted.empty())
            kind = EditKind::RemoveRange;
        else
            kind = EditKind::Paste;
    }
    return UserReplace(id, start, end, inserted, *kind);
}

bool CDialog::StepHistory(int id, bool redo) {
    const int index = IndexOf(id);
    if (index < 0 || exchangeDepth_ > 0) return false;
    ControlState& s = controls_[static_cast<std::size_t>(index)];
    if (!Editable(s)) return false;
    const bool password = (s.style & kStylePassword) != 0;
    const auto next =
        redo ? s.history.Redo(SnapshotOf(s), password) : s.history.Undo(SnapshotOf(s), password);
    if (!next) return false;
    s.text = next->text;
    s.anchor = next->anchor;
    s.caret = next->caret;
    CommitEdit(index);
    return true;
}

bool CDialog::UserUndo(int id) {
    return StepHistory(id, false);
}

bool CDialog::UserRedo(int id) {
    return StepHistory(id, true);
}

bool CDialog::CanUndo(int id) const {
    const ControlState& s = Item(id);
    return Editable(s) && s.history.CanUndo((s.style & kStylePassword) != 0);
}

bool CDialog::CanRedo(int id) const {
    const ControlState& s = Item(id);
    return Editable(s) && s.history.CanRedo((s.style & kStylePassword) != 0);
}

void CDialog::UserSetEditSelection(int id, int anchor, int caret) {
    const int index = IndexOf(id);
    if (index < 0) return;
    ControlState& s = controls_[static_cast<std::size_t>(index)];
    const int len = static_cast<int>(s.text.size());
    caret = std::clamp(caret, 0, len);
    anchor = std::clamp(anchor, 0, len);
    // A caret move ends a run of typing; so does a new selection, which the toolkit makes by
    // moving the caret (select all goes to the start first), unlike a mere deselection.
    if (caret != s.caret || (anchor != caret && anchor != s.anchor)) s.history.Separate();
    s.anchor = anchor;
    s.caret = caret;
}

}  // namespace ostrova::platform
