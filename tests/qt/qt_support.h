// Shared pieces of the Qt backend's tests: one application, one backend, and watchers that
// answer modal windows from inside their loops, failing instead of hanging.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

#include "platform/framework.h"
#include "platform/qt/dialog_window.h"
#include "platform/qt/qt_backend.h"

namespace ostrova::platform::qt::testing {

// The process's QApplication, made on first use (offscreen unless the caller chose).
QApplication& App();

// Runs `act` on the first open window that `match` accepts, polling from the event loop.
// After `timeoutMs` without a match it records a failure and closes the innermost modal
// window, so a test never hangs.
class ModalWatcher {
public:
    using Match = std::function<bool(QWidget*)>;
    using Act = std::function<void(QWidget*)>;
    ModalWatcher(Match match, Act act, int timeoutMs = 5000);
    ~ModalWatcher();
    bool fired() const { return fired_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    bool fired_ = false;
};

// Watches for the window of `dlg` and runs `script` on it.
std::unique_ptr<ModalWatcher> WhenOpen(CDialog& dlg, std::function<void(DialogWindow&)> script);
// Watches for a modal widget of type T.
template <class T>
std::unique_ptr<ModalWatcher> WhenOpen(std::function<void(T&)> act) {
    return std::make_unique<ModalWatcher>(
        [](QWidget* w) { return qobject_cast<T*>(w) != nullptr; },
        [act](QWidget* w) { act(*qobject_cast<T*>(w)); });
}

// A wheel turn over `target` as the window system delivers it: spontaneous, so Qt passes it
// on to the parents when the target ignores it.
void Turn(QWidget* target, QPoint angleDelta, Qt::ScrollPhase phase = Qt::NoScrollPhase);

// Lets queued events and timers run for a while.
void Pump(int ms);

class QtFixture : public ::testing::Test {
protected:
    QtFixture();
    ~QtFixture() override;
    QtBackend& backend() { return *backend_; }

private:
    std::unique_ptr<QtBackend> backend_;
};

}  // namespace ostrova::platform::qt::testing
