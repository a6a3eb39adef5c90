#include "platform/qt/dialog_window.h"

#include <QCloseEvent>
#include <QScrollBar>

#include "platform/cp1252.h"
#include "platform/qt/backend.h"

namespace ostrova::platform::qt {

DialogWindow::DialogWindow(CDialog& dlg, QWidget* owner, double dpi)
    : QDialog(owner), dlg_(dlg), metrics_(MetricsFor(dlg.dialogTemplate(), dpi)), dpi_(dpi) {
    const DialogTemplate& tpl = dlg.dialogTemplate();
    // The application's window is a normal top-level window, shown in the task bar; every
    // other template is a modal dialog over its owner.
    setWindowFlags((tpl.appWindow ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(FromCp1252(tpl.title));
    setWindowIcon(ApplicationIcon());
    setFont(metrics_.font);
    setModal(!tpl.appWindow);
    setFixedSize(ClientSize(tpl, metrics_));

    BuildControls();
    LinkLabels();

    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    scrollBar_->setSingleStep(10);
    scrollBar_->hide();
    scrollBar_->installEventFilter(this);
    connect(scrollBar_, &QAbstractSlider::actionTriggered, this,
            [this](int action) { OnScrollAction(action); });
}

DialogWindow::~DialogWindow() {
    // The widgets go now, while this object is whole: what they signal on their way out finds
    // the dialog ended and reports nothing.
    ended_ = true;
    for (QWidget* w : controls_) w->removeEventFilter(this);
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    controls_.clear();
    scrollBar_ = nullptr;
    systemMenu_ = nullptr;
}

QString DialogWindow::FromCp1252(std::string_view bytes) {
    return QString::fromStdString(Cp1252ToUtf8(bytes));
}

QWidget* DialogWindow::control(int index) const {
    if (index < 0 || index >= static_cast<int>(controls_.size())) return nullptr;
    return controls_[static_cast<std::size_t>(index)];
}

int DialogWindow::IndexOf(const QObject* widget) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == widget) return static_cast<int>(i);
    }
    return -1;
}

// --- Ending the dialog -----------------------------------------------------------------------

void DialogWindow::reject() {
    if (!ended_) dlg_.UserCancel();
}

void DialogWindow::done(int result) {
    // Only the framework ends the dialog (EndModal); Qt's own attempts are turned away.
    if (ended_) QDialog::done(result);
}

void DialogWindow::EndModal(int result) {
    ended_ = true;
    QDialog::done(result);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    if (ended_) {
        event->accept();
        return;
    }
    // The close box is Cancel; the window goes only if the framework ends the dialog.
    event->ignore();
    dlg_.UserCancel();
}

}  // namespace ostrova::platform::qt
