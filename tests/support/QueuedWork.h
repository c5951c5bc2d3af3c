#pragma once

// Waiting for work the code under test queued, without a fixed sleep: a
// check that something did not happen is only worth something once the
// code had its chance, however slow the machine.

#include <QObject>
#include <QTest>
#include <QTimer>

namespace TestSupport {

// Runs the event loop until everything queued before the call (posted
// events, zero-time timers) has run, and what that queued in turn, for
// `rounds` rounds: each round queues a call of its own, which the loop
// reaches only after the earlier ones.
inline bool queuedWorkDone(int rounds = 3, int timeoutMs = 20000)
{
    for (int i = 0; i < rounds; ++i) {
        QObject context;
        bool reached = false;
        QTimer::singleShot(0, &context, [&reached] { reached = true; });
        if (!QTest::qWaitFor([&reached] { return reached; }, timeoutMs))
            return false;
    }
    return true;
}

} // namespace TestSupport
