#include "ports/KtPortSample.h"

#include <QStringList>

#include <algorithm>

namespace KtPortText {

namespace {

quint64 delta32(quint32 before, quint32 after)
{
    return after >= before ? quint64(after - before) : quint64(after) + (quint64(1) << 32) - before;
}

} // namespace

KtPortRates Rates(const KtPortSample &before, const KtPortSample &after)
{
    KtPortRates r;
    if (!before.Answered || !after.Answered || before.Port != after.Port)
        return r;
    // sysUpTime is the switch's own clock; a restart sets it back.
    double seconds = 0;
    if (after.UpTime > before.UpTime)
        seconds = (after.UpTime - before.UpTime) / 100.0;
    else if (after.UpTime == 0 && before.UpTime == 0 && after.TakenMs > before.TakenMs)
        seconds = (after.TakenMs - before.TakenMs) / 1000.0;
    if (seconds <= 0)
        return r;
    r.Known = true;
    r.Seconds = seconds;
    r.InBits = delta32(before.InOctets, after.InOctets) * 8.0 / seconds;
    r.OutBits = delta32(before.OutOctets, after.OutOctets) * 8.0 / seconds;
    const quint64 errors = delta32(before.InErrors, after.InErrors) + delta32(before.OutErrors, after.OutErrors);
    r.ErrorsPerSecond = errors / seconds;
    r.Errors = errors + delta32(before.InDiscards, after.InDiscards) + delta32(before.OutDiscards, after.OutDiscards);
    return r;
}

QString BitRateText(double bps)
{
    static const char *const units[] = {"bit/s", "kbit/s", "Mbit/s", "Gbit/s", "Tbit/s"};
    int u = 0;
    while (bps >= 1000.0 && u < 4) {
        bps /= 1000.0;
        ++u;
    }
    // Three significant digits at most, no trailing zeros.
    const int decimals = u == 0 || bps >= 100 ? 0 : bps >= 10 ? 1 : 2;
    QString number = QString::number(bps, 'f', decimals);
    if (number.contains(QLatin1Char('.'))) {
        while (number.endsWith(QLatin1Char('0')))
            number.chop(1);
        if (number.endsWith(QLatin1Char('.')))
            number.chop(1);
    }
    return number + QLatin1Char(' ') + QLatin1String(units[u]);
}

QString LinkText(KtPortSample::Link link)
{
    switch (link) {
    case KtPortSample::LinkUp:
        return QStringLiteral("up");
    case KtPortSample::LinkDown:
        return QStringLiteral("down");
    case KtPortSample::LinkTesting:
        return QStringLiteral("testing");
    case KtPortSample::LinkUnknown:
        break;
    }
    return QStringLiteral("unknown");
}

QString SpeedDuplexText(const KtPortSample &s)
{
    if (s.OperStatus != KtPortSample::LinkUp)
        return {};
    QStringList parts;
    if (s.Speed > 0)
        parts << BitRateText(double(s.Speed));
    if (s.DuplexMode != KtPortSample::DuplexUnknown)
        parts << (s.DuplexMode == KtPortSample::Full ? QStringLiteral("full duplex") : QStringLiteral("half duplex"));
    return parts.join(QStringLiteral(", "));
}

QString ToolTip(const KtPortSample &s, const KtPortRates &rates)
{
    QStringList lines;
    lines << QStringLiteral("Port %1").arg(s.Port);
    if (!s.Answered) {
        lines << QStringLiteral("No answer from the switch");
        return lines.join(QLatin1Char('\n'));
    }
    QString link = QStringLiteral("Link: ") + LinkText(s.OperStatus);
    const QString speed = SpeedDuplexText(s);
    if (!speed.isEmpty())
        link += QStringLiteral(", ") + speed;
    lines << link;
    lines << QStringLiteral("Admin: ") + LinkText(s.AdminStatus);
    if (!s.Description.isEmpty())
        lines << QStringLiteral("Description: ") + s.Description;
    if (rates.Known) {
        lines << QStringLiteral("In: %1, out: %2").arg(BitRateText(rates.InBits), BitRateText(rates.OutBits));
        lines << QStringLiteral("Errors: %1/s").arg(QString::number(rates.ErrorsPerSecond, 'f', rates.ErrorsPerSecond < 10 ? 1 : 0));
    } else {
        lines << QStringLiteral("Rates: after the next read");
    }
    return lines.join(QLatin1Char('\n'));
}

QString AccessibleName(int port, const KtPortSample *s)
{
    QString name = QStringLiteral("Port %1").arg(port);
    if (!s || !s->Answered)
        return name;
    name += QStringLiteral(", link ") + LinkText(s->OperStatus);
    const QString speed = SpeedDuplexText(*s);
    if (!speed.isEmpty())
        name += QStringLiteral(", ") + speed;
    return name;
}

double Utilisation(const KtPortSample &s, const KtPortRates &rates)
{
    if (!rates.Known || s.Speed == 0)
        return -1;
    return std::clamp(std::max(rates.InBits, rates.OutBits) / double(s.Speed), 0.0, 1.0);
}

} // namespace KtPortText
