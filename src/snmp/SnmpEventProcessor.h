#pragma once

#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

class QSocketNotifier;

// The process-wide event pump of the SNMP engine, on the GUI thread.
//
// A 20 ms timer handles retransmissions and time-outs and reads whatever
// has arrived; each tick stops the timer while it works, so ticks never
// overlap. A socket notifier per SNMP socket reads an answer the moment it
// arrives, so a walk is not held to one row per tick. After either, the
// queued answers are handed to their callbacks, one at a time and never
// inside another callback: an answer that arrives while a callback or a
// synchronous operation runs waits in the queue and is delivered when that
// has returned (a zero-time timer is armed for it).
class SnmpEventProcessor : public QObject
{
    Q_OBJECT

public:
    static constexpr int Interval = 20;

    static SnmpEventProcessor *Instance();

    void Start();
    void Stop();
    bool IsActive() const;

    // With the notifiers off only the timer reads answers (benchmark).
    void SetSocketNotifierEnabled(bool enabled);
    bool SocketNotifierEnabled() const { return m_notifiersOn; }

    quint64 TickCount() const { return m_ticks; }

private:
    explicit SnmpEventProcessor(QObject *parent = nullptr);
    ~SnmpEventProcessor() override;

    void tick();
    void readable(int fd);
    void watch(int fd, bool opened);
    void wake();
    void deliverQueued();

    QTimer m_timer;
    std::vector<std::unique_ptr<QSocketNotifier>> m_notifiers;
    bool m_running = false;
    bool m_notifiersOn = true;
    bool m_wakeArmed = false;
    bool m_inPump = false;
    quint64 m_ticks = 0;
};
