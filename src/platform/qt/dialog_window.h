// One open dialog on Qt: a QDialog built from the dialog's template that renders the
// framework's control state and turns the user's input into the framework's notifications.
// Its methods are defined by concern: dialog_window.cpp, controls.cpp, edit_input.cpp,
// edit_menu.cpp, keyboard.cpp, frame.cpp, accessibility.cpp and message_loop.cpp.
#pragma once

#include <QDialog>
#include <QPointer>
#include <map>
#include <optional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/framework.h"
#include "platform/qt/dialog_units.h"

class QComboBox;
class QContextMenuEvent;
class QLineEdit;
class QMenu;
class QScrollBar;
class QTimer;

namespace ostrova::platform::qt {

class DialogWindow : public QDialog, public DialogView {
public:
    DialogWindow(CDialog& dlg, QWidget* owner, double dpi);
    ~DialogWindow() override;

    bool ended() const { return ended_; }

    CDialog& dialog() { return dlg_; }
    const DialogMetrics& metrics() const { return metrics_; }
    // The widget of control `index` in template order.
    QWidget* control(int index) const;
    // The window's own vertical scroll bar and the extra entries of its window menu.
    QScrollBar* scrollBar() const { return scrollBar_; }
    QMenu* systemMenu() const { return systemMenu_; }

    // DialogView
    void ControlChanged(int index, std::uint32_t flags) override;  // controls.cpp
    void FocusControl(int index) override;                         // keyboard.cpp
    void MoveFocus(int index, FocusMove how) override;             // keyboard.cpp
    void EndModal(int result) override;
    void MoveWindow(int x, int y, int width, int height) override;     // frame.cpp
    FormWidths FormOuterWidths(bool scrollBar) const override;         // frame.cpp
    void SetScrollInfo(const ScrollInfo& info, bool redraw) override;  // frame.cpp
    void ScrollContent(int dy) override;                               // frame.cpp
    void StartTimer(int timerId, int periodMs) override;               // message_loop.cpp
    void AppendSystemMenuCommand(int commandId, std::string_view text) override;  // frame.cpp

    // QDialog: the dialog closes only when the framework ends it.
    void reject() override;
    void accept() override {}
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;  // keyboard.cpp
    bool focusNextPrevChild(bool next) override;                 // keyboard.cpp
    void keyPressEvent(QKeyEvent* event) override;               // keyboard.cpp
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;              // frame.cpp
    void contextMenuEvent(QContextMenuEvent* event) override;  // frame.cpp
    bool event(QEvent* event) override;                        // frame.cpp

private:
    static QString FromCp1252(std::string_view bytes);
    int IndexOf(const QObject* widget) const;

    // controls.cpp: the native controls and the framework's state rendered into them.
    void BuildControls();
    QWidget* CreateControl(int index, const ControlTemplate& tpl);
    void ConnectCombo(int index, QComboBox* combo);
    QLineEdit* LineEditOf(int index) const;
    void RenderFont(int index) override;
    void RenderEnabled(int index) override;
    void RenderVisible(int index) override;
    void RenderItems(int index) override;
    void RenderSelection(int index) override;
    void RenderText(int index) override;
    void RenderCheck(int index) override;
    void RenderEditSelection(int index) override;
    void OnClicked(int index);
    void OnActivated(int index, int item);

    // accessibility.cpp
    void LinkLabels();

    // edit_input.cpp: the user's changes to an edit, forwarded to the framework.
    void ConnectEdit(int index, QLineEdit* edit);
    void OnEdited(int index, const QString& text, int caret);
    void OnEditCaret(int index);
    void OnUndo(int index, bool redo);
    bool EditEvent(int index, QLineEdit* edit, QEvent* event);  // true: handled here
    // A line edit's selection as anchor and caret.
    static std::pair<int, int> AnchorAndCaret(const QLineEdit* edit);

    // edit_menu.cpp
    void EditMenu(int index, QLineEdit* edit, const QContextMenuEvent& event);

    // keyboard.cpp: the dialog keys and the focus.
    int FocusedIndex() const;  // the control holding the native focus; -1: none
    void FocusByUser(int index, Qt::FocusReason reason);

    // frame.cpp: placement, the window's scroll bar, the wheel and the window menu.
    bool ScrollBarEvent(QEvent* event);  // the scroll bar's events, seen by eventFilter
    void OnScrollAction(int action);
    void ScrollBarMenu(const QContextMenuEvent& event);
    void ApplyOuterGeometry();
    double DeviceRatio() const;
    void LayoutScrollBar();

    CDialog& dlg_;
    DialogMetrics metrics_;
    double dpi_;
    std::vector<QWidget*> controls_;  // template order; owned by the dialog as children
    QScrollBar* scrollBar_ = nullptr;
    QMenu* systemMenu_ = nullptr;
    std::map<int, QTimer*> timers_;
    ScrollInfo scroll_;
    int contentOffset_ = 0;  // how far the frame moved the content, device pixels
    int shownOffset_ = 0;    // how far the widgets stand moved, logical pixels
    bool scrollVisible_ = false;
    QRect outer_;              // the frame geometry the framework asked for, logical pixels
    bool hasOuter_ = false;
    QMargins appliedMargins_;  // frame margins the geometry was computed with
    int syncing_ = 0;          // rendering state: the widgets' signals are ours, not the user's
    int focusing_ = 0;         // moving the focus from code
    bool suppressActivated_ = false;  // a combo's own match of typed text, not a pick
    std::optional<EditKind> pendingKind_;  // what the key being handled does to an edit
    bool ended_ = false;
};

}  // namespace ostrova::platform::qt
