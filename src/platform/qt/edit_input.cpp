#include "platform/qt/dialog_window.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace ostrova::platform::qt {
namespace {

// What a key does to a line edit, for the undo history's steps.
std::optional<EditKind> KindOfKey(const QKeyEvent& key) {
    if (key.matches(QKeySequence::Paste)) return EditKind::Paste;
    if (key.matches(QKeySequence::Cut)) return EditKind::Delete;
    if (key.matches(QKeySequence::DeleteStartOfWord) ||
        key.matches(QKeySequence::DeleteEndOfWord) || key.matches(QKeySequence::DeleteEndOfLine) ||
        key.matches(QKeySequence::DeleteCompleteLine))
        return EditKind::RemoveRange;
    if (key.key() == Qt::Key_Backspace) return EditKind::Backspace;
    if (key.key() == Qt::Key_Delete) return EditKind::Delete;
    if (!key.text().isEmpty()) return EditKind::Typing;
    return std::nullopt;
}

}  // namespace

void DialogWindow::ConnectEdit(int index, QLineEdit* edit) {
    // Only the user's own changes: typing, deletion, paste, drop and undo all come here.
    connect(edit, &QLineEdit::textEdited, this, [this, index, edit](const QString& text) {
        OnEdited(index, text, edit->cursorPosition());
    });
    connect(edit, &QLineEdit::cursorPositionChanged, this, [this, index] { OnEditCaret(index); });
    connect(edit, &QLineEdit::selectionChanged, this, [this, index] { OnEditCaret(index); });
}

std::pair<int, int> DialogWindow::AnchorAndCaret(const QLineEdit* edit) {
    const int caret = edit->cursorPosition();
    if (!edit->hasSelectedText()) return {caret, caret};
    return {caret == edit->selectionStart() ? edit->selectionEnd() : edit->selectionStart(), caret};
}

void DialogWindow::OnEdited(int index, const QString& text, int caret) {
    const std::optional<EditKind> kind = pendingKind_;
    pendingKind_.reset();
    if (syncing_ > 0 || ended_) return;
    const int id = dlg_.controls()[static_cast<std::size_t>(index)].id;
    // Qt counts UTF-16 units, the framework characters.
    const int characters = static_cast<int>(text.left(caret).toUcs4().size());
    // A refused change comes back through ControlChanged with the old text and caret.
    dlg_.UserEdit(id, text.toStdString(), characters, kind);
    if (ended_) return;
    ++syncing_;
    RenderText(index);
    RenderEditSelection(index);
    --syncing_;
    if (QLineEdit* edit = LineEditOf(index))
        Q_ASSERT(edit->text() == QString::fromStdString(dlg_.DisplayText(index)));
}

void DialogWindow::OnEditCaret(int index) {
    if (syncing_ > 0 || ended_) return;
    QLineEdit* edit = LineEditOf(index);
    if (edit == nullptr) return;
    // Caret moves inside a change in progress belong to that change; an edit without the focus
    // shows no selection, but keeps the framework's.
    if (edit->text() != QString::fromStdString(dlg_.DisplayText(index))) return;
    if (!control(index)->hasFocus()) return;
    const auto [anchor, caret] = AnchorAndCaret(edit);
    dlg_.UserSetEditSelection(dlg_.controls()[static_cast<std::size_t>(index)].id, anchor, caret);
}

void DialogWindow::OnUndo(int index, bool redo) {
    if (ended_) return;
    const int id = dlg_.controls()[static_cast<std::size_t>(index)].id;
    if (redo) {
        dlg_.UserRedo(id);
    } else {
        dlg_.UserUndo(id);
    }
}

bool DialogWindow::EditEvent(int index, QLineEdit* edit, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto& key = *static_cast<QKeyEvent*>(event);
            // The framework keeps the history, so that refused input leaves no step in it.
            if (key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo)) {
                if (!edit->isReadOnly()) OnUndo(index, key.matches(QKeySequence::Redo));
                return true;
            }
            pendingKind_ = KindOfKey(key);
            return false;
        }
        case QEvent::ContextMenu:
            pendingKind_.reset();
            EditMenu(index, edit, *static_cast<QContextMenuEvent*>(event));
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::Drop:
        case QEvent::InputMethod:
            pendingKind_.reset();
            return false;
        default:
            return false;
    }
}

}  // namespace ostrova::platform::qt
