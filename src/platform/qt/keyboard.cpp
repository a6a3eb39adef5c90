#include "platform/qt/dialog_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>

namespace ostrova::platform::qt {

// --- Focus -----------------------------------------------------------------------------------

int DialogWindow::FocusedIndex() const {
    for (const QWidget* w = QApplication::focusWidget(); w != nullptr && w != this;
         w = w->parentWidget()) {
        const int index = IndexOf(w);
        if (index >= 0) return index;
    }
    return -1;
}

void DialogWindow::FocusByUser(int index, Qt::FocusReason reason) {
    QWidget* w = control(index);
    if (w == nullptr) return;
    w->setFocus(reason);
    // A window that is not active gets the focus event later, as an activation: say it now.
    const QWidget* focused = QApplication::focusWidget();
    if (focused != w && (focused == nullptr || !w->isAncestorOf(focused)))
        dlg_.UserFocus(dlg_.controls()[static_cast<std::size_t>(index)].id);
}

bool DialogWindow::focusNextPrevChild(bool next) {
    // Qt moves the focus away from a control being disabled; the dialog manager does not.
    if (syncing_ > 0 || focusing_ > 0) return false;
    return dlg_.UserKey(next ? DialogKey::Tab : DialogKey::BackTab, FocusedIndex(), false);
}

void DialogWindow::MoveFocus(int index, FocusMove how) {
    if (how != FocusMove::Start) {
        FocusByUser(index, how == FocusMove::Forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return;
    }
    ++focusing_;  // the framework reports the first focus itself
    control(index)->setFocus(Qt::TabFocusReason);
    --focusing_;
}

void DialogWindow::FocusControl(int index) {
    ++focusing_;
    if (QWidget* w = control(index)) {
        w->setFocus(Qt::OtherFocusReason);
        ++syncing_;
        RenderEditSelection(index);
        --syncing_;
    } else {
        setFocus(Qt::OtherFocusReason);
    }
    --focusing_;
}

// --- Dialog keys -----------------------------------------------------------------------------

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scrollBar_) return ScrollBarEvent(event);

    int index = IndexOf(watched);
    if (index < 0 && !ended_) {
        // A drop-down combo's edit field.
        if (auto* field = qobject_cast<QLineEdit*>(watched)) index = IndexOf(field->parent());
        if (index >= 0)
            return EditEvent(index, static_cast<QLineEdit*>(watched), event) ||
                   QDialog::eventFilter(watched, event);
    }
    if (index < 0 || ended_) return QDialog::eventFilter(watched, event);
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    if (QLineEdit* edit = LineEditOf(index); edit != nullptr && !edit->isReadOnly()) {
        // The combo hands its keys to its field; its field's own events come above.
        const bool field = watched == edit || event->type() == QEvent::KeyPress;
        if (field && EditEvent(index, edit, event)) return true;
    }

    if (event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Window activation and a closing drop-down list give the focus back: no change.
        const bool moved = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (moved && syncing_ == 0 && focusing_ == 0) dlg_.UserFocus(s.id);
        // An edit without the focus shows no selection: what the framework selected meanwhile
        // (the refused number behind a message box) shows when the focus comes back.
        if (syncing_ == 0 && !ended_) {
            ++syncing_;
            RenderEditSelection(index);
            --syncing_;
        }
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool forward = key->key() == Qt::Key_Down || key->key() == Qt::Key_Right;
        const bool back = key->key() == Qt::Key_Up || key->key() == Qt::Key_Left;
        if ((forward || back) && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            dlg_.UserKey(forward ? DialogKey::Next : DialogKey::Previous, index, false))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
        // An open list has its own window: Enter and Escape reach it, never this one.
        dlg_.UserKey(DialogKey::Enter, FocusedIndex(), false);
        return;
    }
    if (key == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        dlg_.UserKey(DialogKey::Escape, FocusedIndex(), false);
        return;
    }
    if (key == Qt::Key_F1) return;  // the program has no help
    QWidget::keyPressEvent(event);
}

}  // namespace ostrova::platform::qt
