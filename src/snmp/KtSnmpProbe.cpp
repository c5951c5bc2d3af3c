#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/lcd_time.h>

#include "snmp/KtSnmpProbe.h"

#include "snmp/KtSnmpEngine.h"

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>

#include <arpa/inet.h>
#include <sys/select.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int TickMs = 20;

QString systemError(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

} // namespace

struct KtSnmpProbe::Private
{
    struct Leg
    {
        bool discovery = false;
        void *session = nullptr;
        int fd = -1;
        std::unique_ptr<QSocketNotifier> notifier;
        bool done = false;
        bool closing = false;
        KtProbeResult::Outcome outcome = KtProbeResult::Silent;
        QString error;
        Private *owner = nullptr;
    };

    KtSnmpProbe *q = nullptr;
    KtProbeTarget target;
    std::vector<std::unique_ptr<Leg>> legs;
    QTimer ticker;
    QElapsedTimer clock;
    bool running = false;
    quint64 generation = 0;
    KtProbeResult result;

    static int callback(int op, netsnmp_session *, int, netsnmp_pdu *pdu, void *magic);
    bool open(Leg &leg);
    void readable(Leg &leg);
    void tick();
    void received(Leg &leg, int op, const netsnmp_pdu *pdu);
    void settle();
    void finish(KtProbeResult::Outcome outcome);
    void closeAll();
};

int KtSnmpProbe::Private::callback(int op, netsnmp_session *, int, netsnmp_pdu *pdu, void *magic)
{
    auto *leg = static_cast<Leg *>(magic);
    if (leg && !leg->closing && !leg->done)
        leg->owner->received(*leg, op, pdu);
    return 1;
}

void KtSnmpProbe::Private::received(Leg &leg, int op, const netsnmp_pdu *pdu)
{
    switch (op) {
    case NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE:
        leg.outcome = KtProbeResult::Answered;
        if (leg.discovery) {
            result.discoveryAnswered = true;
            if (pdu && pdu->securityEngineIDLen > 0) {
                result.engineId = QByteArray(reinterpret_cast<const char *>(pdu->securityEngineID),
                                             int(pdu->securityEngineIDLen));
                // The discovery report is not authenticated: its boots and
                // time are kept as a guess, which is what we want to show.
                u_int boots = 0, time = 0;
                if (get_enginetime(pdu->securityEngineID, u_int(pdu->securityEngineIDLen), &boots, &time, FALSE)
                    == SNMPERR_SUCCESS) {
                    result.engineBoots = boots;
                    result.engineTime = time;
                }
            }
        } else {
            result.communityAnswered = true;
        }
        break;
    case NETSNMP_CALLBACK_OP_TIMED_OUT:
        leg.outcome = KtProbeResult::Silent;
        break;
    case NETSNMP_CALLBACK_OP_SEND_FAILED:
        leg.outcome = errno == ECONNREFUSED ? KtProbeResult::Refused : KtProbeResult::Failed;
        leg.error = systemError(errno);
        break;
    default:
        return;  // retransmissions and the like: still waiting
    }
    leg.done = true;
}

bool KtSnmpProbe::Private::open(Leg &leg)
{
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(target.port);
    const QByteArray host = target.host.toLatin1();
    if (inet_pton(AF_INET, host.constData(), &peer.sin_addr) != 1) {
        leg.error = QStringLiteral("%1 is not an IPv4 address").arg(target.host);
        return false;
    }

    netsnmp_session s;
    snmp_sess_init(&s);
    QByteArray name = QByteArrayLiteral("udp:") + host + ':' + QByteArray::number(target.port);
    s.peername = name.data();
    s.timeout = long(qMax<quint32>(target.timeout, 1)) * 10000L;
    s.retries = int(target.retries);
    s.callback = callback;
    s.callback_magic = &leg;
    QByteArray community = target.community.toUtf8();
    QByteArray none;
    if (leg.discovery) {
        s.version = SNMP_VERSION_3;
        s.securityModel = SNMP_SEC_MODEL_USM;
        s.securityLevel = SNMP_SEC_LEVEL_NOAUTH;
        s.securityName = none.data();
        s.securityNameLen = 0;
        s.flags |= SNMP_FLAGS_DONT_PROBE;  // the discovery is the request itself
    } else {
        s.version = target.communityVersion == 0 ? SNMP_VERSION_1 : SNMP_VERSION_2c;
        s.community = reinterpret_cast<u_char *>(community.data());
        s.community_len = size_t(community.size());
    }
    leg.session = snmp_sess_open(&s);
    if (!leg.session) {
        int libErr = 0, sysErr = 0;
        char *text = nullptr;
        snmp_error(&s, &sysErr, &libErr, &text);
        leg.error = QString::fromLocal8Bit(text ? text : "");
        std::free(text);
        return false;
    }
    snmp_sess_session(leg.session)->flags |= SNMP_FLAGS_DONT_PROBE;
    netsnmp_transport *transport = snmp_sess_transport(leg.session);
    leg.fd = transport ? transport->sock : -1;
    // Connected, the socket hears of the host's ICMP port unreachable.
    if (leg.fd < 0 || ::connect(leg.fd, reinterpret_cast<const sockaddr *>(&peer), sizeof peer) != 0) {
        leg.error = systemError(errno);
        return false;
    }

    netsnmp_pdu *pdu = snmp_pdu_create(SNMP_MSG_GET);
    if (!pdu) {
        leg.error = systemError(ENOMEM);
        return false;
    }
    if (leg.discovery) {
        pdu->version = SNMP_VERSION_3;
        pdu->securityModel = SNMP_SEC_MODEL_USM;
        pdu->securityLevel = SNMP_SEC_LEVEL_NOAUTH;
        pdu->securityName = static_cast<char *>(std::calloc(1, 1));
        pdu->securityNameLen = 0;
    } else {
        static const oid sysUpTime[] = {1, 3, 6, 1, 2, 1, 1, 3, 0};
        snmp_add_null_var(pdu, sysUpTime, OID_LENGTH(sysUpTime));
    }
    if (snmp_sess_async_send(leg.session, pdu, callback, &leg) == 0) {
        int libErr = 0, sysErr = 0;
        char *text = nullptr;
        snmp_sess_error(leg.session, &sysErr, &libErr, &text);
        leg.error = QString::fromLocal8Bit(text ? text : "");
        std::free(text);
        snmp_free_pdu(pdu);
        if (sysErr == ECONNREFUSED) {
            leg.outcome = KtProbeResult::Refused;
            leg.done = true;
            return true;
        }
        return false;
    }
    leg.notifier = std::make_unique<QSocketNotifier>(leg.fd, QSocketNotifier::Read);
    Leg *l = &leg;
    QObject::connect(leg.notifier.get(), &QSocketNotifier::activated, q, [this, l] { readable(*l); });
    return true;
}

void KtSnmpProbe::Private::readable(Leg &leg)
{
    if (!running || leg.done || !leg.session)
        return;
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(leg.fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err != 0) {
        // The pending error is cleared now; the socket may hold nothing to read.
        leg.outcome = err == ECONNREFUSED ? KtProbeResult::Refused : KtProbeResult::Failed;
        leg.error = systemError(err);
        leg.done = true;
    } else {
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(leg.fd, &fds);
        timeval zero = {0, 0};
        if (::select(leg.fd + 1, &fds, nullptr, nullptr, &zero) > 0)
            snmp_sess_read(leg.session, &fds);
    }
    settle();
}

void KtSnmpProbe::Private::tick()
{
    if (!running)
        return;
    for (auto &leg : legs)
        if (!leg->done && leg->session)
            snmp_sess_timeout(leg->session);
    settle();
}

// Runs outside every library call: only here are sessions closed.
void KtSnmpProbe::Private::settle()
{
    if (!running)
        return;
    bool allDone = true, answered = false, refused = false, silent = false;
    QString error;
    for (auto &leg : legs) {
        allDone = allDone && leg->done;
        if (!leg->done)
            continue;
        answered = answered || leg->outcome == KtProbeResult::Answered;
        refused = refused || leg->outcome == KtProbeResult::Refused;
        silent = silent || leg->outcome == KtProbeResult::Silent;
        if (leg->outcome == KtProbeResult::Failed && error.isEmpty())
            error = leg->error;
    }
    if (answered && (target.firstAnswer || allDone))
        return finish(KtProbeResult::Answered);
    if (!allDone)
        return;
    result.error = error;
    finish(refused ? KtProbeResult::Refused : silent ? KtProbeResult::Silent : KtProbeResult::Failed);
}

void KtSnmpProbe::Private::finish(KtProbeResult::Outcome outcome)
{
    result.outcome = outcome;
    result.elapsedMs = clock.elapsed();
    running = false;
    ticker.stop();
    closeAll();
    const KtProbeResult done = result;
    const quint64 mine = generation;
    QTimer::singleShot(0, q, [this, done, mine] {
        if (mine == generation && !running)
            emit q->Finished(done);
    });
}

void KtSnmpProbe::Private::closeAll()
{
    for (auto &leg : legs) {
        leg->closing = true;
        // May run inside this notifier's own signal.
        if (leg->notifier) {
            leg->notifier->setEnabled(false);
            leg->notifier.release()->deleteLater();
        }
        if (leg->session)
            snmp_sess_close(leg->session);  // reports what is outstanding; ignored while closing
        leg->session = nullptr;
    }
    legs.clear();
}

KtSnmpProbe::KtSnmpProbe(QObject *parent) : QObject(parent), d(std::make_unique<Private>())
{
    d->q = this;
    d->ticker.setInterval(TickMs);
    connect(&d->ticker, &QTimer::timeout, this, [this] { d->tick(); });
}

KtSnmpProbe::~KtSnmpProbe()
{
    Cancel();
}

void KtSnmpProbe::Start(const KtProbeTarget &target)
{
    Cancel();
    KtSnmpEngine::Instance().Open();
    d->target = target;
    d->result = KtProbeResult();
    d->running = true;
    d->clock.start();
    auto add = [this](bool discovery) {
        auto leg = std::make_unique<Private::Leg>();
        leg->discovery = discovery;
        leg->owner = d.get();
        d->legs.push_back(std::move(leg));
    };
    if (target.discovery)
        add(true);
    if (!target.community.isEmpty())
        add(false);
    for (auto &leg : d->legs) {
        if (!d->open(*leg)) {
            leg->outcome = KtProbeResult::Failed;
            leg->done = true;
        }
    }
    if (d->legs.empty()) {
        d->result.error = QStringLiteral("nothing to send");
        d->finish(KtProbeResult::Failed);
        return;
    }
    d->ticker.start();
    d->settle();
}

bool KtSnmpProbe::Running() const
{
    return d->running;
}

void KtSnmpProbe::Cancel()
{
    ++d->generation;
    d->running = false;
    d->ticker.stop();
    d->closeAll();
}
