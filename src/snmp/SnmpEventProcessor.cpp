#include "snmp/SnmpEventProcessor.h"

#include "snmp/KtSnmpEngine.h"

#include <QCoreApplication>
#include <QSocketNotifier>

SnmpEventProcessor *SnmpEventProcessor::Instance()
{
    static SnmpEventProcessor *pump = nullptr;
    if (!pump) {
        pump = new SnmpEventProcessor(QCoreApplication::instance());
        QObject::connect(pump, &QObject::destroyed, [] { pump = nullptr; });
    }
    return pump;
}

SnmpEventProcessor::SnmpEventProcessor(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(Interval);
    m_timer.setSingleShot(false);
    connect(&m_timer, &QTimer::timeout, this, &SnmpEventProcessor::tick);
    KtSnmpEngine &engine = KtSnmpEngine::Instance();
    engine.SetSocketHook([this](int fd, bool opened) { watch(fd, opened); });
    engine.SetWakeHook([this] { wake(); });
    for (int fd : engine.Sockets())
        watch(fd, true);
}

SnmpEventProcessor::~SnmpEventProcessor()
{
    KtSnmpEngine::Instance().SetSocketHook({});
    KtSnmpEngine::Instance().SetWakeHook({});
}

void SnmpEventProcessor::Start()
{
    m_running = true;
    m_timer.start();
    for (auto &n : m_notifiers)
        n->setEnabled(m_notifiersOn);
}

void SnmpEventProcessor::Stop()
{
    m_running = false;
    m_timer.stop();
    for (auto &n : m_notifiers)
        n->setEnabled(false);
}

bool SnmpEventProcessor::IsActive() const
{
    return m_running;
}

void SnmpEventProcessor::SetSocketNotifierEnabled(bool enabled)
{
    m_notifiersOn = enabled;
    for (auto &n : m_notifiers)
        n->setEnabled(m_running && enabled);
}

void SnmpEventProcessor::tick()
{
    m_timer.stop();
    ++m_ticks;
    KtSnmpEngine &engine = KtSnmpEngine::Instance();
    if (engine.IsOpen()) {
        m_inPump = true;
        engine.ReadAll();
        engine.HandleTimeouts();
        m_inPump = false;
        engine.Deliver();
    }
    if (m_running)
        m_timer.start();
}

void SnmpEventProcessor::readable(int fd)
{
    KtSnmpEngine &engine = KtSnmpEngine::Instance();
    m_inPump = true;
    engine.ReadSocket(fd);
    m_inPump = false;
    engine.Deliver();
}

void SnmpEventProcessor::watch(int fd, bool opened)
{
    for (auto it = m_notifiers.begin(); it != m_notifiers.end(); ++it) {
        if ((*it)->socket() == fd) {
            if (!opened) {
                // May be called from inside this notifier's own signal.
                (*it)->setEnabled(false);
                (*it).release()->deleteLater();
                m_notifiers.erase(it);
            }
            return;
        }
    }
    if (!opened)
        return;
    auto n = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(n.get(), &QSocketNotifier::activated, this, [this, fd] { readable(fd); });
    n->setEnabled(m_running && m_notifiersOn);
    m_notifiers.push_back(std::move(n));
}

// Answers queued outside the pump (during a synchronous operation or a
// callback) are handed out as soon as control is back in the event loop.
void SnmpEventProcessor::wake()
{
    if (m_wakeArmed || m_inPump || !m_running)
        return;
    m_wakeArmed = true;
    QTimer::singleShot(0, this, &SnmpEventProcessor::deliverQueued);
}

void SnmpEventProcessor::deliverQueued()
{
    m_wakeArmed = false;
    KtSnmpEngine::Instance().Deliver();
}
