#pragma once

// Waiting on the request engine's event pump. Header only: its users link qsx_snmp.

#include "support/QueuedWork.h"

#include "snmp/SnmpEventProcessor.h"

#include <QTest>

namespace TestSupport {

// Runs the event loop until the engine's pump has ticked `ticks` more
// times and what those ticks queued has run: every datagram that had
// arrived is read, every answer due is handed out, every retransmission
// due is sent. Use it before checking that nothing was sent or delivered.
inline bool pumpTicked(int ticks = 3, int timeoutMs = 20000)
{
    const SnmpEventProcessor *pump = SnmpEventProcessor::Instance();
    const quint64 until = pump->TickCount() + quint64(ticks);
    return QTest::qWaitFor([&] { return pump->TickCount() >= until; }, timeoutMs) && queuedWorkDone(1, timeoutMs);
}

} // namespace TestSupport
