#pragma once

// What the engine's source files share; only they include it. No Net-SNMP
// header here: library types appear as forward declarations only.

#include "errors/KtStatus.h"
#include "snmp/KtSnmpEngine.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QLoggingCategory>
#include <QPair>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

struct snmp_pdu;
struct snmp_session;

Q_DECLARE_LOGGING_CATEGORY(lcNetSnmp)

namespace KtSnmpEngineParts {

using namespace KtStatus;

// Not a status: a user cannot take new keys yet (registerUser).
constexpr int UserBusy = 0x20000;

[[noreturn]] void raiseStatus(int status);

// A USM authentication or privacy protocol: its object identifier.
struct Protocol;

// Net-SNMP's callback for every session and send; magicOf(ticket, sending)
// is what it is given back.
int onNetSnmp(int op, snmp_session *, int, snmp_pdu *pdu, void *magic);
void *magicOf(quint64 id, quint16 sending);

} // namespace KtSnmpEngineParts

struct KtSnmpEngine::Private
{
    struct Channel
    {
        QString host;
        quint16 port = 0;
        quint8 version = 0;
        quint32 timeout = 0;
        quint32 retries = 0;
        void *session = nullptr;
        int fd = -1;

        bool serves(const KtSnmpTarget &t) const
        {
            return port == t.port && version == t.version && timeout == t.timeout && retries == t.retries
                && host == t.host;
        }
    };

    struct Ticket
    {
        Handler handler;
        KtSnmpTarget target;
        KtPduCommand command = KtPduCommand::Get;
        int repetitions = 0;
        QList<KtVarBind> vbs;
        Channel *channel = nullptr;
        QString agent;
        bool discovery = false;
        bool detached = false;
        bool immediate = false;
        bool rediscovered = false;
        QByteArray userKey;   // v3: the user whose keys it was sent with, while it is out
        QByteArray engineId;  // v3: the agent's identifier it was sent to
        quint16 sending = 0;  // counts the sends; answers to an earlier one are ignored
        QElapsedTimer sent;
        bool identityAsked = false;
    };

    struct Agent
    {
        QByteArray engineId;
        quint64 probe = 0;
        QList<quint64> waiting;
        bool quiet = false;    // checked once since its last answer: same identity, no reply
        QByteArray checking;   // identifier being checked after a time-out
    };

    struct Delivery
    {
        quint64 ticket = 0;
        Handler handler;
        KtPduResult result;
    };

    bool libraryUp = false;
    bool closing = false;
    bool delivering = false;
    quint64 nextId = 1;
    quint64 packets = 0;
    std::vector<std::unique_ptr<Channel>> channels;
    QHash<quint64, Ticket> tickets;
    QHash<QString, Agent> agents;
    QHash<QString, QByteArray> kuCache;     // protocol + pass phrase -> Ku
    QHash<QByteArray, QByteArray> users;    // engine id + name -> credentials in force
    QList<Delivery> deliveries;
    QList<QPair<QString, int>> probesDone;  // agent, status
    QList<quint64> rediscover;              // exchanges to send again once their engine id is known
    QList<QPair<QString, Channel *>> identityChecks;  // agents that went silent
    QHash<QByteArray, int> inFlight;        // user -> exchanges out with its registered keys
    QList<quint64> held;                    // v3 exchanges waiting for another pass phrase's answers
    std::function<void(int, bool)> socketHook;
    std::function<void()> wakeHook;

    static QString agentKey(const KtSnmpTarget &t) { return t.host + QLatin1Char(':') + QString::number(t.port); }

    void validate(const KtSnmpTarget &t);
    QByteArray ku(const KtSnmpEngineParts::Protocol &hash, int hashCode, const QString &pass, int failure);
    Channel *channelFor(const KtSnmpTarget &t);
    int registerUser(const QByteArray &engineId, const QByteArray &userKey, const KtSnmpTarget &t);
    void settle(Ticket &t);
    int transmit(quint64 id);
    int startProbe(const QString &agent, Channel *channel);
    void finish(quint64 id, const KtPduResult &r);
    void onCallback(int op, snmp_pdu *pdu, quint64 id, quint16 sending);
    void askIdentity(const QString &agent, Channel *channel);
    void checkSilentExchanges();
    void afterLibraryCall();
    void waitOnce(int ms);
    void readFd(Channel *c, int most);
};
