#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include "snmp/KtSnmpEngineParts.h"

#include <sys/select.h>

#include <exception>
#include <utility>

// The asynchronous side: the library's callback, finished exchanges,
// engine discoveries and identity checks, reading the sockets and handing
// the results to their handlers.

using namespace KtSnmpEngineParts;

namespace {

KtSnmpEngine::Private *s_engine = nullptr;

// The magic pointer carries the ticket number and which send of it this
// is: reports may come with reqid 0.
constexpr int SendingShift = 48;

} // namespace

void *KtSnmpEngineParts::magicOf(quint64 id, quint16 sending)
{
    return reinterpret_cast<void *>(quintptr(id | (quint64(sending) << SendingShift)));
}

int KtSnmpEngineParts::onNetSnmp(int op, netsnmp_session *, int, netsnmp_pdu *pdu, void *magic)
{
    if (s_engine) {
        const quint64 m = quint64(reinterpret_cast<quintptr>(magic));
        s_engine->onCallback(op, pdu, m & ((quint64(1) << SendingShift) - 1), quint16(m >> SendingShift));
    }
    return 1;
}

KtSnmpEngine::KtSnmpEngine() : d(std::make_unique<Private>())
{
    s_engine = d.get();
}

KtSnmpEngine::~KtSnmpEngine()
{
    Close();
    s_engine = nullptr;
}

void KtSnmpEngine::Private::finish(quint64 id, const KtPduResult &r)
{
    auto it = tickets.find(id);
    if (it == tickets.end())
        return;
    Ticket t = *it;
    tickets.erase(it);
    settle(t);
    if (t.discovery) {
        if (agents.contains(t.agent))
            probesDone.append({t.agent, r.status});
        return;
    }
    if (t.detached)
        return;
    // A closed session reports at once: the handler only settles its count.
    if (t.immediate || r.status == KtPduResult::Closed) {
        t.handler(r);
        return;
    }
    deliveries.append({id, t.handler, r});
    if (wakeHook)
        wakeHook();
}

// Finished discoveries release (or fail) the exchanges that waited for them.
// Runs outside any library call so that sending is allowed.
void KtSnmpEngine::Private::afterLibraryCall()
{
    checkSilentExchanges();
    // Exchanges held back for a pass phrase change are tried again; one whose
    // user still has answers to its old keys out is held once more.
    if (!held.isEmpty())
        rediscover += std::exchange(held, {});
    while (!rediscover.isEmpty()) {
        const quint64 id = rediscover.takeFirst();
        auto t = tickets.find(id);
        if (t == tickets.end())
            continue;
        Agent &a = agents[t->agent];
        if (!a.engineId.isEmpty()) {
            const int status = transmit(id);
            if (status != 0) {
                KtPduResult r;
                r.status = status;
                finish(id, r);
            }
            continue;
        }
        a.waiting.append(id);
        if (a.probe == 0) {
            const int status = startProbe(t->agent, t->channel);
            if (status != 0)
                probesDone.append({t->agent, status});
        }
    }
    while (!identityChecks.isEmpty()) {
        const auto [agentName, channel] = identityChecks.takeFirst();
        auto a = agents.find(agentName);
        if (a == agents.end() || a->probe != 0)
            continue;
        const int status = startProbe(agentName, channel);
        if (status != 0)
            probesDone.append({agentName, status});
    }
    while (!probesDone.isEmpty()) {
        const auto [agentName, status] = probesDone.takeFirst();
        auto a = agents.find(agentName);
        if (a == agents.end())
            continue;
        a->probe = 0;
        const QList<quint64> waiting = a->waiting;
        a->waiting.clear();
        if (!a->checking.isEmpty()) {
            const QByteArray stale = std::exchange(a->checking, {});
            if (a->engineId.isEmpty() || a->engineId == stale) {
                // Same identity, or no answer: checked once; until it answers
                // again its time-outs need no further check.
                a->quiet = true;
                if (a->engineId.isEmpty())
                    a->engineId = stale;
            } else {
                // A new identity: what is still out for the old one goes again.
                for (auto t = tickets.begin(); t != tickets.end(); ++t)
                    if (!t->discovery && t->agent == agentName && t->engineId == stale
                        && !waiting.contains(t.key()) && !rediscover.contains(t.key()))
                        rediscover.append(t.key());
            }
        }
        const bool known = !a->engineId.isEmpty();
        for (quint64 id : waiting) {
            if (!tickets.contains(id))
                continue;
            KtPduResult r;
            r.agentHost = tickets[id].target.host;
            r.agentPort = tickets[id].target.port;
            if (known)
                r.status = transmit(id);
            else
                r.status = tickets[id].rediscovered ? int(StTimeout) : (status == 0 ? int(StUsmUnknownEngine) : status);
            if (r.status != 0)
                finish(id, r);
        }
    }
}

// An agent restarted with a new engine identifier may ignore messages for
// the old one. Once an exchange has waited one time-out its agent's
// identity is checked beside it, so that a new identity is learnt (and the
// exchange sent again) within the exchange's own time, never on top of it.
void KtSnmpEngine::Private::askIdentity(const QString &agent, Channel *channel)
{
    Agent &a = agents[agent];
    if (!a.engineId.isEmpty() && !a.quiet && a.checking.isEmpty() && a.probe == 0) {
        a.checking = a.engineId;
        identityChecks.append({agent, channel});
    }
}

void KtSnmpEngine::Private::checkSilentExchanges()
{
    for (Ticket &t : tickets) {
        if (t.discovery || t.identityAsked || t.target.version != 3 || t.target.retries == 0 || !t.sent.isValid()
            || t.sent.elapsed() < qint64(qMax<quint32>(t.target.timeout, 1)) * 10)
            continue;
        t.identityAsked = true;
        askIdentity(t.agent, t.channel);
    }
}

void KtSnmpEngine::Wait(int ms)
{
    d->waitOnce(ms);
}

void KtSnmpEngine::Private::readFd(Channel *c, int most)
{
    // Only read what is there: the socket is blocking. A bounded number of
    // datagrams per call keeps one busy socket from starving the rest.
    for (int n = 0; n < most && c->session; ++n) {
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(c->fd, &fds);
        timeval zero = {0, 0};
        if (select(c->fd + 1, &fds, nullptr, nullptr, &zero) <= 0)
            return;
        snmp_sess_read(c->session, &fds);
    }
}

void KtSnmpEngine::Private::waitOnce(int ms)
{
    fd_set fds;
    FD_ZERO(&fds);
    int maxFd = -1;
    for (auto &c : channels) {
        if (c->fd >= 0) {
            FD_SET(c->fd, &fds);
            maxFd = qMax(maxFd, c->fd);
        }
    }
    timeval tv = {0, ms * 1000};
    const int ready = select(maxFd + 1, &fds, nullptr, nullptr, &tv);
    // Copy: a callback may not open channels, but stay safe against it.
    std::vector<Channel *> list;
    for (auto &c : channels)
        list.push_back(c.get());
    if (ready > 0) {
        for (Channel *c : list)
            if (c->fd >= 0 && FD_ISSET(c->fd, &fds))
                readFd(c, 32);
    }
    for (Channel *c : list)
        snmp_sess_timeout(c->session);
    afterLibraryCall();
}

QList<int> KtSnmpEngine::Sockets() const
{
    QList<int> fds;
    for (auto &c : d->channels)
        fds.append(c->fd);
    return fds;
}

void KtSnmpEngine::SetSocketHook(std::function<void(int, bool)> hook)
{
    d->socketHook = std::move(hook);
}

void KtSnmpEngine::SetWakeHook(std::function<void()> hook)
{
    d->wakeHook = std::move(hook);
}

void KtSnmpEngine::ReadSocket(int fd)
{
    for (auto &c : d->channels) {
        if (c->fd == fd) {
            d->readFd(c.get(), 1);  // the notifier fires again while more wait
            break;
        }
    }
    d->afterLibraryCall();
}

void KtSnmpEngine::ReadAll()
{
    d->waitOnce(0);
}

void KtSnmpEngine::HandleTimeouts()
{
    std::vector<Private::Channel *> list;
    for (auto &c : d->channels)
        list.push_back(c.get());
    for (Private::Channel *c : list)
        snmp_sess_timeout(c->session);
    d->afterLibraryCall();
}

void KtSnmpEngine::Deliver()
{
    if (d->delivering)
        return;
    d->delivering = true;
    while (!d->deliveries.isEmpty()) {
        Private::Delivery next = d->deliveries.takeFirst();
        try {
            next.handler(next.result);
        } catch (const std::exception &e) {
            qCWarning(lcNetSnmp) << "answer handler failed:" << e.what();
        } catch (...) {
            qCWarning(lcNetSnmp) << "answer handler failed";
        }
    }
    d->delivering = false;
}

bool KtSnmpEngine::Delivering() const
{
    return d->delivering;
}

int KtSnmpEngine::Outstanding() const
{
    int n = 0;
    for (const auto &t : d->tickets)
        n += t.discovery ? 0 : 1;
    return n;
}

int KtSnmpEngine::Queued() const
{
    return int(d->deliveries.size());
}

quint64 KtSnmpEngine::PacketsSent() const
{
    return d->packets;
}
