// One open dialog on Qt: a QDialog built from the dialog's template that renders the
// framework's control state and turns the user's input into the framework's notifications.
#pragma once

#include <QDialog>
#include <QPointer>
#include <map>
#include <optional>
#include <memory>
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

// Gives the framework's controls their accessibility interfaces; needs the QApplication.
void InstallAccessibility();

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
    void ControlChanged(int index, std::uint32_t flags) override;
    void FocusControl(int index) override;
    void MoveFocus(int index, FocusMove how) override;
    void EndModal(int result) override;
    void MoveWindow(int x, int y, int width, int height) override;
    FormWidths FormOuterWidths(bool scrollBar) const override;
    void SetScrollInfo(const ScrollInfo& info, bool redraw) override;
    void ScrollContent(int dy) override;
    void StartTimer(int timerId, int periodMs) override;
    void AppendSystemMenuCommand(int commandId, std::string_view text) override;

    // QDialog: the dialog closes only when the framework ends it.
    void reject() override;
    void accept() override {}
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    void BuildControls();
    void LinkLabels();
    QWidget* CreateControl(int index, const ControlTemplate& tpl);
    void ConnectEdit(int index, QLineEdit* edit);
    void ConnectCombo(int index, QComboBox* combo);

    // DialogView's render hooks.
    void RenderFont(int index) override;
    void RenderEnabled(int index) override;
    void RenderVisible(int index) override;
    void RenderItems(int index) override;
    void RenderSelection(int index) override;
    void RenderText(int index) override;
    void RenderCheck(int index) override;
    void RenderEditSelection(int index) override;

    // User input, forwarded to the framework.
    void OnEdited(int index, const QString& text, int caret);
    void OnEditCaret(int index);
    void OnUndo(int index, bool redo);
    bool EditEvent(int index, QLineEdit* edit, QEvent* event);  // true: handled here
    void EditMenu(int index, QLineEdit* edit, const QContextMenuEvent& event);
    QLineEdit* LineEditOf(int index) const;
    void OnClicked(int index);
    void OnActivated(int index, int item);
    void OnScrollAction(int action);
    void ScrollBarMenu(const QContextMenuEvent& event);

    int IndexOf(const QObject* widget) const;
    int FocusedIndex() const;  // the control holding the native focus; -1: none
    void FocusByUser(int index, Qt::FocusReason reason);
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
