#include "platform/qt/backend.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "platform/qt/dialog_window.h"

namespace ostrova::platform::qt {

int QtBackend::RunModal(CDialog& dlg) {
    // A dialog belongs to its parent's window, or else to the innermost open one, and Qt
    // centres it over that owner.
    QWidget* owner = open_.empty() ? nullptr : open_.back();
    for (DialogWindow* window : open_) {
        if (&window->dialog() == dlg.parent()) owner = window;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;

    DialogWindow window(dlg, owner, dpi);
    open_.push_back(&window);
    const bool defaultFocus = dlg.Create(window);
    if (defaultFocus && !dlg.ended() && dlg.focusedId() == kNoId) dlg.PlaceDefaultFocus();
    if (!dlg.ended()) {
        if (window.isModal()) {
            window.exec();
        } else {
            // exec() would make the application's window modal: run it in a loop of its own.
            QEventLoop loop;
            QObject::connect(&window, &QDialog::finished, &loop, &QEventLoop::quit);
            window.show();
            if (!dlg.ended()) loop.exec(QEventLoop::DialogExec);
        }
    }
    open_.pop_back();
    dlg.Destroyed();
    return dlg.result();
}

void DialogWindow::StartTimer(int timerId, int periodMs) {
    QTimer*& timer = timers_[timerId];
    if (timer == nullptr) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, timerId] {
            if (!ended_) dlg_.UserTimer(timerId);
        });
    }
    timer->start(std::max(periodMs, 0));
}

}  // namespace ostrova::platform::qt
