#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

// What to send to an agent's port to see whether anything is there.
struct KtProbeTarget
{
    QString host;               // dotted IPv4
    quint16 port = 161;
    quint32 timeout = 100;      // units of 10 ms, per try
    quint32 retries = 1;
    bool discovery = true;      // an SNMPv3 engine discovery request (carries no secret)
    QString community;          // also a get of sysUpTime.0 with it; empty: none
    quint8 communityVersion = 1;  // 0 v1, 1 v2c
    bool firstAnswer = true;    // finished by the first answer of either request
};

struct KtProbeResult
{
    enum Outcome {
        Answered,  // some request was answered
        Refused,   // the host refused with ICMP port unreachable
        Silent,    // no answer within timeout x (retries + 1)
        Failed     // nothing could be sent
    };
    Outcome outcome = Silent;
    bool discoveryAnswered = false;
    bool communityAnswered = false;
    QByteArray engineId;        // from the discovery answer
    quint32 engineBoots = 0;
    quint32 engineTime = 0;
    qint64 elapsedMs = 0;
    QString error;              // Failed: the reason
};

// Reachability checks the request engine cannot make: its sockets are not
// connected, so an ICMP port unreachable never reaches them, and its
// engine discovery keeps the agent's boots and time to itself.
//
// Each request goes out through a Net-SNMP session of its own whose UDP
// socket is connected to the agent, so that the kernel reports a refusal
// as ECONNREFUSED on it. Retransmissions and time-outs are the library's.
// Runs in the event loop; Finished follows every Start, also a failed one,
// and never inside Start. Deleting the probe abandons it.
class KtSnmpProbe : public QObject
{
    Q_OBJECT

public:
    explicit KtSnmpProbe(QObject *parent = nullptr);
    ~KtSnmpProbe() override;

    void Start(const KtProbeTarget &target);
    bool Running() const;
    void Cancel();

    struct Private;  // opaque; holds the library handles

signals:
    void Finished(const KtProbeResult &result);

private:
    std::unique_ptr<Private> d;
};
