#include "platform/edit_history.h"

#include <algorithm>

namespace ostrova::platform {

// --- Both styles -----------------------------------------------------------------------------

void EditHistory::Record(const EditSnapshot& before, int start, int end, std::string_view inserted,
                         EditKind kind) {
    if (style_ == UndoStyle::Windows) {
        WinReplace(before.text, start, end, inserted);
        return;
    }
    QtState q = ToQt(before);
    const bool overSelection = q.selStart < q.selEnd && start == q.selStart && end == q.selEnd;
    // A range that is not the selection is removed as QLineEdit removes a word: selected
    // first (a caret move), from the caret to its far end, then deleted.
    auto selectRange = [&] {
        if (overSelection || start == end) return;
        const int caret = q.cursor;
        Separate();
        q.selStart = start;
        q.selEnd = end;
        q.cursor = caret == start ? end : start;
    };
    switch (kind) {
        case EditKind::Paste:
            Separate();
            selectRange();
            QtRemoveSelection(q);
            QtInsert(q, inserted);
            Separate();
            break;
        case EditKind::Typing:
        case EditKind::RemoveRange:
            selectRange();
            QtRemoveSelection(q);
            QtInsert(q, inserted);
            break;
        case EditKind::Backspace:
        case EditKind::Delete:
            if (overSelection) {
                QtRemoveSelection(q);
            } else if (kind == EditKind::Backspace) {
                for (int i = end - 1; i >= start; --i) {
                    q.cursor = i;
                    QtAdd(q, {QtCommand::Remove, i, q.text[static_cast<std::size_t>(i)], -1, -1});
                    q.text.erase(static_cast<std::size_t>(i), 1);
                }
            } else {
                q.cursor = start;
                for (int i = start; i < end; ++i) {
                    QtAdd(q, {QtCommand::Delete, start, q.text[static_cast<std::size_t>(start)], -1,
                              -1});
                    q.text.erase(static_cast<std::size_t>(start), 1);
                }
            }
            QtInsert(q, inserted);
            break;
    }
}

void EditHistory::Clear() {
    commands_.clear();
    undoState_ = 0;
    separator_ = false;
    winText_.clear();
    winPosition_ = 0;
    winInserted_ = 0;
}

std::optional<EditSnapshot> EditHistory::Undo(const EditSnapshot& now, bool password) {
    if (style_ == UndoStyle::Windows) {
        if (!CanUndo()) return std::nullopt;
        const std::string restored = winText_;
        const int start = std::clamp(winPosition_, 0, static_cast<int>(now.text.size()));
        const int end =
            std::clamp(winPosition_ + winInserted_, start, static_cast<int>(now.text.size()));
        winText_.clear();
        winInserted_ = 0;
        // Undoing is a change of its own, so a second undo takes it back.
        WinReplace(now.text, start, end, restored);
        EditSnapshot next;
        next.text = now.text.substr(0, static_cast<std::size_t>(start)) + restored +
                    now.text.substr(static_cast<std::size_t>(end));
        next.anchor = winPosition_;
        next.caret = winPosition_ + winInserted_;  // the restored text is selected
        return next;
    }
    if (password) {
        // QLineEdit does not reveal what a password field held: its undo clears the field.
        if (now.text.empty()) return std::nullopt;
        QtState q = ToQt(now);
        q.selStart = 0;
        q.selEnd = static_cast<int>(q.text.size());
        QtRemoveSelection(q);
        Separate();
        return FromQt(q);
    }
    if (!CanUndo()) return std::nullopt;
    return QtUndo(now);
}

std::optional<EditSnapshot> EditHistory::Redo(const EditSnapshot& now, bool password) {
    if (style_ == UndoStyle::Windows || !CanRedo(password))
        return std::nullopt;  // Windows: undo again
    return QtRedo(now);
}

bool EditHistory::CanUndo(bool password) const {
    if (style_ == UndoStyle::Windows) return winInserted_ > 0 || !winText_.empty();
    if (undoState_ == 0) return false;
    return !password || commands_[undoState_ - 1].type == QtCommand::Insert;
}

bool EditHistory::CanRedo(bool password) const {
    return style_ == UndoStyle::Qt && !password && undoState_ < commands_.size();
}

// --- QLineEdit's history ---------------------------------------------------------------------

EditHistory::QtState EditHistory::ToQt(const EditSnapshot& s) {
    QtState q;
    q.text = s.text;
    const int len = static_cast<int>(s.text.size());
    q.cursor = std::clamp(s.caret, 0, len);
    const int anchor = std::clamp(s.anchor, 0, len);
    if (anchor != q.cursor) {
        q.selStart = std::min(anchor, q.cursor);
        q.selEnd = std::max(anchor, q.cursor);
    }
    return q;
}

EditSnapshot EditHistory::FromQt(const QtState& q) {
    EditSnapshot s;
    s.text = q.text;
    const int len = static_cast<int>(q.text.size());
    s.caret = std::clamp(q.cursor, 0, len);
    s.anchor = s.caret;
    if (q.selStart >= 0 && q.selStart < q.selEnd && q.selEnd <= len)
        s.anchor = s.caret == q.selStart ? q.selEnd : q.selStart;
    return s;
}

void EditHistory::QtAdd(const QtState& q, const QtCommand& cmd) {
    commands_.resize(undoState_);
    if (separator_ && undoState_ > 0 && commands_[undoState_ - 1].type != QtCommand::Separator)
        commands_.push_back({QtCommand::Separator, q.cursor, 0, q.selStart, q.selEnd});
    separator_ = false;
    commands_.push_back(cmd);
    undoState_ = commands_.size();
}

void EditHistory::QtRemoveSelection(QtState& q) {
    if (q.selStart >= q.selEnd || q.selEnd > static_cast<int>(q.text.size())) return;
    Separate();
    QtAdd(q, {QtCommand::SetSelection, q.cursor, 0, q.selStart, q.selEnd});
    auto at = [&](int i) { return q.text[static_cast<std::size_t>(i)]; };
    if (q.selStart <= q.cursor && q.cursor < q.selEnd) {
        // The caret inside the selection (at its start): QLineEdit splits the commands so that
        // undo puts the caret back there.
        for (int i = q.cursor; i >= q.selStart; --i)
            QtAdd(q, {QtCommand::DeleteSelection, i, at(i), -1, 1});
        for (int i = q.selEnd - 1; i > q.cursor; --i)
            QtAdd(q, {QtCommand::DeleteSelection, i - q.cursor + q.selStart - 1, at(i), -1, -1});
    } else {
        for (int i = q.selEnd - 1; i >= q.selStart; --i)
            QtAdd(q, {QtCommand::RemoveSelection, i, at(i), -1, -1});
    }
    q.text.erase(static_cast<std::size_t>(q.selStart),
                 static_cast<std::size_t>(q.selEnd - q.selStart));
    if (q.cursor > q.selStart) q.cursor -= std::min(q.cursor, q.selEnd) - q.selStart;
    q.selStart = q.selEnd = 0;
}

void EditHistory::QtInsert(QtState& q, std::string_view text) {
    if (text.empty()) return;
    if (q.selStart < q.selEnd)
        QtAdd(q, {QtCommand::SetSelection, q.cursor, 0, q.selStart, q.selEnd});
    q.text.insert(static_cast<std::size_t>(q.cursor), text);
    for (const char ch : text) {
        ++q.cursor;  // QLineEdit moves the cursor before it files the command
        QtAdd(q, {QtCommand::Insert, q.cursor - 1, ch, -1, -1});
    }
}

std::optional<EditSnapshot> EditHistory::QtUndo(const EditSnapshot& now) {
    QtState q = ToQt(now);
    q.selStart = q.selEnd = 0;
    auto insert = [&](const QtCommand& c) {
        q.text.insert(std::min(static_cast<std::size_t>(c.pos), q.text.size()), 1, c.ch);
    };
    while (undoState_ > 0) {
        const QtCommand cmd = commands_[--undoState_];
        switch (cmd.type) {
            case QtCommand::Insert:
                if (static_cast<std::size_t>(cmd.pos) < q.text.size())
                    q.text.erase(static_cast<std::size_t>(cmd.pos), 1);
                q.cursor = cmd.pos;
                break;
            case QtCommand::SetSelection:
                q.selStart = cmd.selStart;
                q.selEnd = cmd.selEnd;
                q.cursor = cmd.pos;
                break;
            case QtCommand::Remove:
            case QtCommand::RemoveSelection:
                insert(cmd);
                q.cursor = cmd.pos + 1;
                break;
            case QtCommand::Delete:
            case QtCommand::DeleteSelection:
                insert(cmd);
                q.cursor = cmd.pos;
                break;
            case QtCommand::Separator:
                continue;
        }
        if (undoState_ > 0) {
            const QtCommand& next = commands_[undoState_ - 1];
            if (next.type != cmd.type && next.type < QtCommand::RemoveSelection &&
                (cmd.type < QtCommand::RemoveSelection || next.type == QtCommand::Separator))
                break;
        }
    }
    return FromQt(q);  // typing on after an undo joins the step below, as in QLineEdit
}

std::optional<EditSnapshot> EditHistory::QtRedo(const EditSnapshot& now) {
    QtState q = ToQt(now);
    q.selStart = q.selEnd = 0;
    while (undoState_ < commands_.size()) {
        const QtCommand cmd = commands_[undoState_++];
        switch (cmd.type) {
            case QtCommand::Insert:
                q.text.insert(std::min(static_cast<std::size_t>(cmd.pos), q.text.size()), 1,
                              cmd.ch);
                q.cursor = cmd.pos + 1;
                break;
            case QtCommand::Remove:
            case QtCommand::Delete:
            case QtCommand::RemoveSelection:
            case QtCommand::DeleteSelection:
                if (static_cast<std::size_t>(cmd.pos) < q.text.size())
                    q.text.erase(static_cast<std::size_t>(cmd.pos), 1);
                [[fallthrough]];
            case QtCommand::SetSelection:
            case QtCommand::Separator:
                q.selStart = cmd.selStart;
                q.selEnd = cmd.selEnd;
                q.cursor = cmd.pos;
                break;
        }
        if (undoState_ < commands_.size()) {
            const QtCommand& next = commands_[undoState_];
            if (next.type != cmd.type && cmd.type < QtCommand::RemoveSelection &&
                next.type != QtCommand::Separator &&
                (next.type < QtCommand::RemoveSelection || cmd.type == QtCommand::Separator))
                break;
        }
    }
    return FromQt(q);
}

// --- The Windows edit's history --------------------------------------------------------------

void EditHistory::WinReplace(const std::string& text, int start, int end,
                             std::string_view inserted) {
    if (end != start) {
        const std::string removed =
            text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
        if (winInserted_ == 0 && !winText_.empty() && start == winPosition_) {
            winText_ += removed;  // Delete after Delete: the removal grows to the right
        } else if (winInserted_ == 0 && !winText_.empty() && end == winPosition_) {
            winText_ = removed + winText_;  // Backspace after Backspace: to the left
            winPosition_ = start;
        } else {
            winText_ = removed;
            winPosition_ = start;
        }
        winInserted_ = 0;
    }
    if (!inserted.empty()) {
        const int n = static_cast<int>(inserted.size());
        if (start == winPosition_ || (winInserted_ > 0 && start == winPosition_ + winInserted_)) {
            winInserted_ += n;
        } else {
            winPosition_ = start;
            winInserted_ = n;
            winText_.clear();
        }
    }
}

}  // namespace ostrova::platform
