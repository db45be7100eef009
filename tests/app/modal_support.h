#pragma once
// Drives the next modal window of a test as soon as it is up.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace testsupport {

inline void onNextModal(const std::function<void(QWidget*)>& drive) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, drive] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            drive(modal);
        }
    });
    timer->start(10);
}

}  // namespace testsupport
