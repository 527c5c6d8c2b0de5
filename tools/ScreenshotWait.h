#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QString>
#include <QThread>
#include <QWidget>
#include <cstdio>

// Runs the window's events until the condition holds or the time is up.
template <typename Condition>
bool WaitFor(Condition done, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// Lets layouts settle, then writes the window as it is drawn.
inline bool SaveShot(QWidget* window, const QString& path) {
    WaitFor([] { return false; }, 150);
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}
