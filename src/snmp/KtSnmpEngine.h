#pragma once

#include "snmp/KtVarBind.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

// Everything one exchange needs to know about the agent and how to talk to it.
struct KtSnmpTarget
{
    QString host;               // dotted IPv4
    quint16 port = 161;
    quint8 version = 0;         // 0 v1, 1 v2c, 3 v3
    quint32 timeout = 100;      // units of 10 ms
    quint32 retries = 1;
    QString community;          // v1, v2c
    qint32 securityLevel = 1;   // v3
    QString securityName;
    QString authPassword;
    QString privPassword;
    qint32 authProtocol = 1;
    qint32 privProtocol = 1;
    QString contextName;
    QString contextEngineID;
};

// GetBulk asks with non-repeaters 0 and the max-repetitions given to Send.
enum class KtPduCommand { Get, GetNext, Set, GetBulk };

// The answer of one exchange. status is what StatusToError expects: 0,
// an error-status 1-18, -5 for a time-out, 1401-1414 USM, -1402..-1418
// message processing, -1..-23 session failures; Closed when the session
// went away with the exchange outstanding. An agent's error-status outside
// 1-18 arrives as UnknownStatus, so that no answer passes for a library
// status; a successful answer whose varbinds are not those asked for (another
// count, or other names for a get or set; for a get-bulk none at all or more
// than asked for) arrives as Malformed.
struct KtPduResult
{
    enum { Closed = -8, UnknownStatus = 0x10000, Malformed = 0x10001 };
    int status = 0;
    int errorIndex = 0;
    QList<KtVarBind> vbs;
    QString agentHost;
    quint16 agentPort = 0;
};

// Thin, single-threaded layer over the Net-SNMP single-session API.
//
// Channels: one Net-SNMP session (one UDP socket) per distinct agent
// address, version, time-out and retry count; in this program that is
// normally one. Communities and all SNMPv3 parameters travel in each PDU.
//
// SNMPv3 engine discovery: Net-SNMP's own probe blocks the caller, so the
// library's probing is switched off and we run the RFC 3414 discovery
// exchange (an empty noAuth GET) asynchronously ourselves. Requests for an
// agent whose engine identifier is not yet known wait in a queue and are
// sent when the discovery answer arrives; a silent agent fails them with a
// time-out. The learnt identifier is forgotten on an unknownEngineID report.
//
// Delivery: Net-SNMP's callback never runs user code. It turns the answer
// into a KtPduResult and queues it; Deliver() hands queued results to their
// handlers, one after the other, and refuses to run inside itself. So an
// answer that arrives while a handler (or a blocking Exchange) is running
// waits in the queue and is handed out after it, from the event pump.
// Exchange() waits on the sockets itself (the caller blocks, by design); it
// advances every outstanding exchange but delivers nothing.
class KtSnmpEngine
{
public:
    using Handler = std::function<void(const KtPduResult &)>;

    static KtSnmpEngine &Instance();

    // Quiet library initialisation; persistentDir receives the few files
    // Net-SNMP insists on creating. Idempotent.
    void Open(const QString &persistentDir = {});
    // Whether a local UDP socket can be had at all (sessions open lazily).
    static bool CanBindUdp();
    // Whether this build can encrypt with a privacy protocol code (2 DES, 9 IDEA ...).
    static bool SupportsPrivProtocol(int code);
    // Closes every channel; outstanding exchanges end with status Closed.
    void Close();
    bool IsOpen() const;
    // Our own engine identifier (text form) and boot count.
    void SetLocalEngine(const QString &id, quint32 boots);
    quint32 LocalEngineBoots() const;

    // Checks the target (-509, USM protocol and level errors, short pass
    // phrases) and sends, or queues behind the engine discovery. Failures of
    // the send itself raise KtException; nothing is sent then.
    // repetitions: the max-repetitions of a GetBulk (at least 1).
    quint64 Send(const KtSnmpTarget &target, KtPduCommand command, const QList<KtVarBind> &vbs,
                 Handler handler, int repetitions = 0);
    // Blocking exchange; raises like Send for send failures.
    KtPduResult Exchange(const KtSnmpTarget &target, KtPduCommand command,
                         const QList<KtVarBind> &vbs, int repetitions = 0);
    // Queues a result that needs no exchange for delivery like an answer;
    // the ticket serves DropQueued.
    quint64 Post(const KtPduResult &result, Handler handler);

    // The handler of ticket is never called; it runs at once and in any
    // context instead when immediate is set (it must not run user code then).
    void Detach(quint64 ticket);
    void MakeImmediate(quint64 ticket);
    // Removes a result of ticket that waits for delivery; true if there was one.
    bool DropQueued(quint64 ticket);
    // Whether the exchange has gone out: false while it waits for the engine
    // discovery or for the answers to its user's requests with other keys.
    bool Sent(quint64 ticket) const;
    // Waits up to ms for socket activity and advances every exchange;
    // delivers nothing.
    void Wait(int ms);

    // Pump interface.
    QList<int> Sockets() const;
    void SetSocketHook(std::function<void(int, bool)> hook);  // a socket opened (true) or closed
    void SetWakeHook(std::function<void()> hook);       // results wait for delivery
    void ReadSocket(int fd);
    void ReadAll();           // non-blocking read of every socket
    void HandleTimeouts();    // retransmissions and time-outs that are due
    void Deliver();
    bool Delivering() const;

    int Outstanding() const;  // exchanges sent or queued, not yet answered
    int Queued() const;       // results waiting for delivery
    quint64 PacketsSent() const;

    // Forget learnt engine identifiers and registered users (tests).
    void ForgetAgents();

    ~KtSnmpEngine();

    struct Private;  // opaque; holds the library handles

private:
    KtSnmpEngine();
    std::unique_ptr<Private> d;
};
