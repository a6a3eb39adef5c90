// Shared pieces of the Qt backend's tests: one application, one backend, and watchers that
// answer modal windows from inside their loops, failing instead of hanging.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <functional>
#include <memory>

#include "platform/framework.h"
#include "platform/qt/dialog_window.h"
#include "platform/qt/qt_backend.h"

namespace ostrova::platform::qt::testing {

// Runs `act` on the first window that `match` accepts, polling from the event loop: the
// innermost modal window, or else the active one, as the application's window is not modal. After
// five seconds without a match it records a failure and closes that window, so a test never hangs.
class ModalWatcher {
public:
    ModalWatcher(std::function<bool(QWidget*)> match, std::function<void(QWidget*)> act) {
        clock_.start();
        QObject::connect(&timer_, &QTimer::timeout, [this, match, act] {
            QWidget* window = QApplication::activeModalWidget();
            if (window == nullptr) window = QApplication::activeWindow();
            const bool matched = window != nullptr && window->isVisible() && match(window);
            if (!matched && clock_.elapsed() < 5000) return;
            timer_.stop();
            fired_ = matched;
            if (matched) return act(window);
            ADD_FAILURE() << "the expected window did not open in time";
            if (window != nullptr) window->close();  // a dialog's close box is Cancel
        });
        timer_.start(10);
    }
    bool fired() const { return fired_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    bool fired_ = false;
};

// Watches for a window of type T: a message box, a file dialog, a dialog's window.
template <class T>
std::unique_ptr<ModalWatcher> WhenOpen(std::function<void(T&)> act) {
    return std::make_unique<ModalWatcher>([](QWidget* w) { return dynamic_cast<T*>(w) != nullptr; },
                                          [act](QWidget* w) { act(dynamic_cast<T&>(*w)); });
}

// Runs `dlg` modally with `script` on its shown window, ends it with Cancel if the script
// left it open, and returns its result.
inline int RunDialog(CDialog& dlg, const std::function<void(DialogWindow&)>& script) {
    auto watcher = WhenOpen<DialogWindow>([&](DialogWindow& window) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        script(window);
        if (!window.ended()) dlg.EndDialog(kIdCancel);
    });
    const int result = dlg.DoModal();
    EXPECT_TRUE(watcher->fired());
    return result;
}

// A wheel turn over `target` as the window system delivers it: spontaneous, so Qt passes it
// on to the parents when the target ignores it.
inline void Turn(QWidget* target, QPoint angleDelta, Qt::ScrollPhase phase = Qt::NoScrollPhase) {
    const QPointF at(2, 2);
    QWheelEvent wheel(at, target->mapToGlobal(at), {}, angleDelta, Qt::NoButton, {}, phase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(target, &wheel);  // sendEvent would drop spontaneity
}

// Opens the context menu of `target` at `at` and picks its first entry, as the user would.
inline void PickFirstFromContextMenu(QWidget* target, QPoint at) {
    QTimer::singleShot(50, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QList<QAction*> entries = menu->actions();
        entries.removeIf([](QAction* a) { return a->isSeparator(); });
        QTimer::singleShot(2000, menu, &QMenu::close);  // a failed pick must not hang the test
        menu->setActiveAction(entries.value(0));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
}

// One application (offscreen unless the caller chose) and a fresh backend for each test.
class QtFixture : public ::testing::Test {
protected:
    QtFixture() {
        static int argc = 1;
        static char name[] = "qt_tests", *argv[] = {name, nullptr};
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        if (QApplication::instance() == nullptr) new QApplication(argc, argv);  // lives to the end
        backend_ = std::make_unique<QtBackend>();
        SetBackend(backend_.get());
    }
    ~QtFixture() override { SetBackend(nullptr); }
    std::unique_ptr<QtBackend> backend_;
};

}  // namespace ostrova::platform::qt::testing
