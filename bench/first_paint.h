// Shared by the two start-up programs: ends the first dialog right after its first paint and
// tells how long that took from the start of main().
#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <cstdio>

class FirstPaint : public QObject {
public:
    FirstPaint() { clock_.start(); }

protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        if (!done_ && event->type() == QEvent::Paint) {
            if (auto* dialog = qobject_cast<QDialog*>(target)) {
                done_ = true;
                std::printf("first paint after %.2f ms\n", clock_.nsecsElapsed() / 1e6);
                // Closed as the user would with Escape, once this paint is finished.
                QTimer::singleShot(0, dialog, [dialog] { dialog->reject(); });
            }
        }
        return false;
    }

private:
    QElapsedTimer clock_;
    bool done_ = false;
};
