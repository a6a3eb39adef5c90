#include "platform/qt/dialog_window.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <memory>

namespace ostrova::platform::qt {

void DialogWindow::EditMenu(int index, QLineEdit* edit, const QContextMenuEvent& event) {
    // The toolkit's own menu, with Undo and Redo stepping through the framework's history.
    std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
    const int id = dlg_.controls()[static_cast<std::size_t>(index)].id;
    for (QAction* action : menu->actions()) {
        const QString name = action->objectName();
        if (name == QLatin1String("edit-undo") || name == QLatin1String("edit-redo")) {
            const bool redo = name == QLatin1String("edit-redo");
            QObject::disconnect(action, &QAction::triggered, edit, nullptr);
            action->setEnabled(redo ? dlg_.CanRedo(id) : dlg_.CanUndo(id));
            connect(action, &QAction::triggered, this,
                    [this, index, redo] { OnUndo(index, redo); });
        } else if (name == QLatin1String("edit-paste")) {
            QObject::disconnect(action, &QAction::triggered, edit, nullptr);
            connect(action, &QAction::triggered, this, [this, edit] {
                pendingKind_ = EditKind::Paste;
                edit->paste();
            });
        }
    }
    menu->exec(event.globalPos());
}

}  // namespace ostrova::platform::qt
