#include "values/KtDateTime.h"

namespace {

// Reads the text the way sscanf reads "%d" and literal characters; numbers
// keep their low 32 bits, which is all the narrower fields need.
class Scanner
{
public:
    explicit Scanner(QStringView s) : m_s(s) {}

    bool literal(char c)
    {
        if (m_i >= m_s.size() || m_s[m_i] != QLatin1Char(c))
            return false;
        ++m_i;
        return true;
    }

    bool number(quint32 &out)
    {
        qsizetype i = m_i;
        const qsizetype n = m_s.size();
        while (i < n && isSpace(m_s[i]))
            ++i;
        bool negative = false;
        if (i < n && (m_s[i] == u'+' || m_s[i] == u'-')) {
            negative = m_s[i] == u'-';
            ++i;
        }
        if (i >= n || !isDigit(m_s[i]))
            return false;
        quint32 v = 0;
        for (; i < n && isDigit(m_s[i]); ++i)
            v = v * 10u + quint32(m_s[i].unicode() - '0');
        out = negative ? 0u - v : v;
        m_i = i;
        return true;
    }

private:
    static bool isSpace(QChar c)
    {
        const char16_t u = c.unicode();
        return u == ' ' || (u >= '\t' && u <= '\r');
    }
    static bool isDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

    QStringView m_s;
    qsizetype m_i = 0;
};

// "%d-%d-%d,%d:%d:%d.%d" and, with a zone sign, ",<sign>%d:%d" after it.
// Returns how many numbers were read before the first mismatch.
int scan(QStringView text, char zoneSign, quint32 (&v)[9])
{
    static const char separators[] = {'-', '-', ',', ':', ':', '.'};
    for (quint32 &x : v)
        x = 0;
    Scanner s(text);
    int count = 0;
    for (int k = 0; k < 7; ++k) {
        if (k > 0 && !s.literal(separators[k - 1]))
            return count;
        if (!s.number(v[k]))
            return count;
        ++count;
    }
    if (!zoneSign)
        return count;
    if (!s.literal(',') || !s.literal(zoneSign) || !s.number(v[7]))
        return count;
    ++count;
    if (!s.literal(':') || !s.number(v[8]))
        return count;
    return count + 1;
}

} // namespace

KtDateTime::KtDateTime(const QString &text)
{
    quint32 v[9];
    if (scan(text, '+', v) == 9) {
        direction = '+';
    } else if (scan(text, '-', v) == 9) {
        direction = '-';
    } else {
        scan(text, 0, v);
        direction = '+';
    }
    year = quint16(v[0]);
    month = quint8(v[1]);
    day = quint8(v[2]);
    hour = quint8(v[3]);
    minutes = quint8(v[4]);
    seconds = quint8(v[5]);
    deciSeconds = quint8(v[6]);
    zoneHours = quint8(v[7]);
    zoneMinutes = quint8(v[8]);
}

KtDateTime KtDateTime::fromRaw(const QByteArray &raw)
{
    // Octets missing from a short form keep their defaults.
    auto at = [&raw](int i) { return i < raw.size() ? quint8(raw[i]) : quint8(0); };
    KtDateTime t;
    t.year = quint16((at(0) << 8) | at(1));
    t.month = at(2);
    t.day = at(3);
    t.hour = at(4);
    t.minutes = at(5);
    t.seconds = at(6);
    t.deciSeconds = at(7);
    if (raw.size() > 8)
        t.direction = char(raw[8]);
    t.zoneHours = at(9);
    t.zoneMinutes = at(10);
    return t;
}

QString KtDateTime::toString() const
{
    QString text = QString::asprintf("%u-%u-%u,%u:%u:%u.%u", unsigned(year), unsigned(month), unsigned(day),
                                     unsigned(hour), unsigned(minutes), unsigned(seconds),
                                     unsigned(deciSeconds));
    if ((zoneHours || zoneMinutes) && (direction == '+' || direction == '-'))
        text += QString::asprintf(",%c%u:%u", direction, unsigned(zoneHours), unsigned(zoneMinutes));
    return text;
}

QByteArray KtDateTime::raw() const
{
    QByteArray out(11, '\0');
    out[0] = char(year >> 8);
    out[1] = char(year & 0xFF);
    out[2] = char(month);
    out[3] = char(day);
    out[4] = char(hour);
    out[5] = char(minutes);
    out[6] = char(seconds);
    out[7] = char(deciSeconds);
    out[8] = direction;
    out[9] = char(zoneHours);
    out[10] = char(zoneMinutes);
    return out;
}
