// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

// Ends the process as soon as the window has been painted (and flushed to the screen) for
// the first time, and prints how long that took since the moment in the environment
// variable RATINOR_BENCH_T0 (CLOCK_MONOTONIC nanoseconds, taken by the driver before exec).
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget *window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Queued: runs once this paint has been drawn and flushed.
            QTimer::singleShot(0, this, [] {
                timespec now {};
                clock_gettime(CLOCK_MONOTONIC, &now);
                const char *start = std::getenv("RATINOR_BENCH_T0");
                const long long t0 = start ? std::atoll(start) : 0;
                std::printf("%lld\n", now.tv_sec * 1'000'000'000LL + now.tv_nsec - t0);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};
