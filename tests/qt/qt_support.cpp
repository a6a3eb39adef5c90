#include "qt_support.h"

#include <QDialog>
#include <QEventLoop>
#include <QSpontaneKeyEvent>
#include <QWheelEvent>

namespace ostrova::platform::qt::testing {

QApplication& App() {
    static int argc = 1;
    static char name[] = "qt_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

ModalWatcher::ModalWatcher(Match match, Act act, int timeoutMs) {
    clock_.start();
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this, match, act, timeoutMs] {
        // The innermost modal window, or else the application's window, which is not modal.
        QWidget* modal = QApplication::activeModalWidget();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (modal == nullptr && w->isVisible() && dynamic_cast<DialogWindow*>(w) != nullptr)
                modal = w;
        }
        if (modal != nullptr && modal->isVisible() && match(modal)) {
            timer_.stop();
            fired_ = true;
            act(modal);
            return;
        }
        if (clock_.elapsed() < timeoutMs) return;
        timer_.stop();
        ADD_FAILURE() << "the expected modal window did not open in time";
        if (auto* window = dynamic_cast<DialogWindow*>(modal)) {
            window->dialog().EndDialog(kIdCancel);
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->done(0);
        }
    });
    timer_.start();
}

ModalWatcher::~ModalWatcher() = default;

std::unique_ptr<ModalWatcher> WhenOpen(CDialog& dlg, std::function<void(DialogWindow&)> script) {
    return std::make_unique<ModalWatcher>(
        [&dlg](QWidget* w) {
            auto* window = dynamic_cast<DialogWindow*>(w);
            return window != nullptr && &window->dialog() == &dlg;
        },
        [script](QWidget* w) {
            auto* window = dynamic_cast<DialogWindow*>(w);
            script(*window);
            // A script that leaves its dialog open must not hang the test.
            QTimer::singleShot(5000, window, [window] {
                if (window->ended()) return;
                ADD_FAILURE() << "the script left its dialog open";
                window->dialog().EndDialog(kIdCancel);
            });
        });
}

void Turn(QWidget* target, QPoint angleDelta, Qt::ScrollPhase phase) {
    const QPointF at(2, 2);
    QWheelEvent wheel(at, target->mapToGlobal(at), {}, angleDelta, Qt::NoButton, {}, phase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(target, &wheel);  // sendEvent would drop spontaneity
}

void Pump(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

QtFixture::QtFixture() {
    App();
    backend_ = std::make_unique<QtBackend>();
    SetBackend(backend_.get());
}

QtFixture::~QtFixture() { SetBackend(nullptr); }

}  // namespace ostrova::platform::qt::testing
