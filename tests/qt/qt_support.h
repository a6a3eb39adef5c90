// Shared pieces of the Qt backend's tests: one application, one backend, and watchers that
// answer modal windows from inside their loops, failing instead of hanging.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/qt/dialog_window.h"
#include "platform/qt/backend.h"

namespace ostrova::platform::qt::testing {

// Runs `act` on the first window of type T (a message box, a file dialog, a dialog's window),
// polling from the event loop: the innermost modal window, or else the active one, as the
// application's window is not modal. After some five seconds without one it closes the window
// it sees, so a test never hangs; a watcher that never fired fails the test.
template <class T>
struct WhenOpen {
    explicit WhenOpen(std::function<void(T&)> act) {
        QObject::connect(&timer, &QTimer::timeout, [this, act] {
            QWidget* window = QApplication::activeModalWidget();
            if (window == nullptr) window = QApplication::activeWindow();
            fired = window != nullptr && window->isVisible() && dynamic_cast<T*>(window) != nullptr;
            if (!fired && ++polls < 500) return;
            timer.stop();
            if (fired) return act(dynamic_cast<T&>(*window));
            if (window != nullptr) window->close();  // a dialog's close box is Cancel
        });
        timer.start(10);
    }
    ~WhenOpen() { EXPECT_TRUE(fired) << "the expected window did not open"; }
    QTimer timer;
    int polls = 0;
    bool fired = false;
};

// The widget of control `id` in `window`.
template <class W = QWidget>
W* ControlOf(DialogWindow& window, int id) {
    return qobject_cast<W*>(window.control(window.dialog().IndexOf(id)));
}

// Runs `dlg` modally with `script` on its shown window, ends it with Cancel if the script
// left it open, and returns its result.
inline int RunDialog(CDialog& dlg, const std::function<void(DialogWindow&)>& script) {
    WhenOpen<DialogWindow> watcher([&](DialogWindow& window) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        script(window);
        if (!window.ended()) dlg.EndDialog(kIdCancel);
    });
    return dlg.DoModal();
}

// One application (offscreen, as the build runs the tests) and a fresh backend for each test.
struct QtFixture : ::testing::Test {
    QtFixture() {
        static int argc = 1;
        static char name[] = "qt_tests", *argv[] = {name, nullptr};
        if (QApplication::instance() == nullptr) new QApplication(argc, argv);  // lives to the end
        backend_ = std::make_unique<QtBackend>();
        SetBackend(backend_.get());
    }
    ~QtFixture() override { SetBackend(nullptr); }
    std::unique_ptr<QtBackend> backend_;
};

}  // namespace ostrova::platform::qt::testing
