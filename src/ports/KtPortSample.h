#pragma once

#include <QList>
#include <QString>

// One port's state as one read of the interface tables gives it.
struct KtPortSample
{
    enum Link { LinkUnknown = 0, LinkUp = 1, LinkDown = 2, LinkTesting = 3 };
    enum Duplex { DuplexUnknown, Half, Full };

    int Port = 0;
    bool Answered = false;        // the read came back with this port's interface row
    Link OperStatus = LinkUnknown;
    Link AdminStatus = LinkUnknown;
    quint64 Speed = 0;            // bit/s; 0 when not known
    Duplex DuplexMode = DuplexUnknown;
    QString Description;          // ifAlias, else the switch's port name; may be empty
    // Counter32 values; rates are taken between two samples.
    quint32 InOctets = 0;
    quint32 OutOctets = 0;
    quint32 InErrors = 0;
    quint32 OutErrors = 0;
    quint32 InDiscards = 0;
    quint32 OutDiscards = 0;
    int Pvid = 0;                 // 0 when not known
    quint32 UpTime = 0;           // sysUpTime of the read, in 1/100 s
    qint64 TakenMs = 0;           // local monotonic clock of the read
};

// What happened on a port between two of its samples.
struct KtPortRates
{
    bool Known = false;           // two answered samples of one port, time between them
    double InBits = 0;            // bit/s
    double OutBits = 0;
    double ErrorsPerSecond = 0;   // in and out errors
    quint64 Errors = 0;           // errors and discards in the interval
    double Seconds = 0;
};

namespace KtPortText {

// Rates from an earlier and a later sample of the same port; counters that
// wrapped count once round. Unknown when the switch restarted in between.
KtPortRates Rates(const KtPortSample &before, const KtPortSample &after);

// "1 Gbit/s", "100 Mbit/s", "10 kbit/s", "0 bit/s".
QString BitRateText(double bitsPerSecond);
QString LinkText(KtPortSample::Link link);
// "1 Gbit/s, full duplex"; empty while the link is not up.
QString SpeedDuplexText(const KtPortSample &sample);

// The tool tip of a port: number, link, speed and duplex, admin state,
// description, rates and errors.
QString ToolTip(const KtPortSample &sample, const KtPortRates &rates);
// "Port 7, link up, 1 Gbit/s, full duplex"; "Port 7" before any read.
QString AccessibleName(int port, const KtPortSample *sample);

// The higher of in and out rate against the port's speed, 0..1; -1 when unknown.
double Utilisation(const KtPortSample &sample, const KtPortRates &rates);

} // namespace KtPortText
