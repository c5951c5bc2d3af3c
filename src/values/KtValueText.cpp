#include "values/KtValueText.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "errors/KtTextCodec.h"
#include "values/KtDateTime.h"
#include "values/KtTypes.h"

#include <QDate>
#include <QtEndian>

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace KtValue {

namespace {

const QString kNullText = QStringLiteral("(NULL)");
constexpr int DateTimeShortSize = 8;  // DateAndTime without its zone

// isspace of the C locale; QChar::isSpace would also take Unicode blanks.
bool isCSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || (u >= '\t' && u <= '\r');
}

bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

int digitValue(QChar c)
{
    return int(c.unicode() - '0');
}

qint64 atolView(QStringView s)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && isCSpace(s[i]))
        ++i;
    bool negative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    // The magnitude limit differs by one between the two signs.
    const quint64 limit = negative ? quint64(std::numeric_limits<qint64>::max()) + 1
                                   : quint64(std::numeric_limits<qint64>::max());
    quint64 magnitude = 0;
    for (; i < n && isDigit(s[i]); ++i) {
        const unsigned d = unsigned(digitValue(s[i]));
        if (magnitude > (limit - d) / 10)
            magnitude = limit;
        else
            magnitude = magnitude * 10 + d;
    }
    if (!negative)
        return qint64(magnitude);
    if (magnitude == limit)
        return std::numeric_limits<qint64>::min();
    return -qint64(magnitude);
}

QByteArray le32(quint32 v)
{
    QByteArray out(4, '\0');
    qToLittleEndian(v, out.data());
    return out;
}

QByteArray be16(quint16 v)
{
    QByteArray out(2, '\0');
    qToBigEndian(v, out.data());
    return out;
}

QByteArray le64(quint64 v)
{
    QByteArray out(8, '\0');
    qToLittleEndian(v, out.data());
    return out;
}

quint32 readLe32(const QByteArray &raw)
{
    return qFromLittleEndian<quint32>(raw.constData());
}

quint16 readBe16(const QByteArray &raw)
{
    return qFromBigEndian<quint16>(raw.constData());
}

quint64 readLe64(const QByteArray &raw)
{
    return qFromLittleEndian<quint64>(raw.constData());
}

// A 32-bit signed field saturates like a 32-bit atol; an unsigned one takes
// the whole unsigned range and keeps negative texts as their two's complement.
quint32 textToField32(const QString &text, bool isSigned)
{
    const qint64 v = Atol(text);
    const qint64 lo = std::numeric_limits<qint32>::min();
    const qint64 hi = isSigned ? std::numeric_limits<qint32>::max()
                               : qint64(std::numeric_limits<quint32>::max());
    return quint32(qBound(lo, v, hi));
}

QByteArray boolRaw(const QString &text, int size)
{
    const bool on = text == QLatin1String("true");
    switch (size) {
    case 1:
        return QByteArray(1, on ? '\1' : '\0');
    case 2:
        return be16(on ? 1 : 0);
    default:
        return le32(on ? 1 : 0);
    }
}

QString boolText(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

// The prefix a C strtod would take, split into what the converters need.
struct FloatText
{
    enum Kind { NoNumber, Integer, Real, Infinity, NotANumber };
    Kind kind = NoNumber;
    bool negative = false;
    std::string body;       // ASCII digits, "." and exponent, without the sign
    qint64 magnitude = 0;   // rough decimal exponent of the leading non-zero digit
};

FloatText scanFloat(QStringView s)
{
    FloatText f;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && isCSpace(s[i]))
        ++i;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        f.negative = s[i] == u'-';
        ++i;
    }
    const QStringView rest = s.mid(i);
    if (rest.startsWith(u"inf", Qt::CaseInsensitive)) {
        f.kind = FloatText::Infinity;
        return f;
    }
    if (rest.startsWith(u"nan", Qt::CaseInsensitive)) {
        f.kind = FloatText::NotANumber;
        return f;
    }

    qsizetype digits = 0;
    bool nonZero = false;
    qint64 intMagnitude = 0;
    qint64 leadingFractionZeros = 0;
    for (; i < n && isDigit(s[i]); ++i) {
        f.body.push_back(char(s[i].unicode()));
        ++digits;
        if (s[i] != u'0')
            nonZero = true;
        if (nonZero)
            ++intMagnitude;
    }
    bool real = false;
    if (i < n && s[i] == u'.') {
        qsizetype j = i + 1;
        qsizetype fraction = 0;
        std::string fracBody;
        for (; j < n && isDigit(s[j]); ++j) {
            fracBody.push_back(char(s[j].unicode()));
            ++fraction;
            if (!nonZero) {
                if (s[j] == u'0')
                    ++leadingFractionZeros;
                else
                    nonZero = true;
            }
        }
        if (digits + fraction > 0) {
            f.body.push_back('.');
            f.body += fracBody;
            digits += fraction;
            i = j;
            real = true;
        }
    }
    if (digits == 0)
        return f;

    qint64 exponent = 0;
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        qsizetype j = i + 1;
        bool expNegative = false;
        if (j < n && (s[j] == u'+' || s[j] == u'-')) {
            expNegative = s[j] == u'-';
            ++j;
        }
        if (j < n && isDigit(s[j])) {
            std::string expBody = expNegative ? "e-" : "e";
            for (; j < n && isDigit(s[j]); ++j) {
                expBody.push_back(char(s[j].unicode()));
                if (exponent < 1000000000)
                    exponent = exponent * 10 + digitValue(s[j]);
            }
            if (expNegative)
                exponent = -exponent;
            f.body += expBody;
            real = true;
        }
    }
    f.kind = real ? FloatText::Real : FloatText::Integer;
    f.magnitude = (intMagnitude > 0 ? intMagnitude : -leadingFractionZeros) + exponent;
    return f;
}

// Converts a scanned real; an out-of-range result is infinite or zero as
// strtod makes it.
template <typename T>
T convertReal(const FloatText &f)
{
    T value = 0;
    const char *first = f.body.data();
    const char *last = first + f.body.size();
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        value = f.magnitude > 0 ? std::numeric_limits<T>::infinity() : T(0);
    else if (result.ec != std::errc())
        value = 0;
    return value;
}

void requireSize(const QByteArray &raw, int size)
{
    if (raw.size() < size)
        KtThrowEngine(KtCatalogue::EngBadPartValue);
}

QString ipText(const QByteArray &raw)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(quint8(raw[0]))
        .arg(quint8(raw[1]))
        .arg(quint8(raw[2]))
        .arg(quint8(raw[3]));
}

constexpr double kMsPerDay = 86400000.0;
// Days of 0001-01-01 and 9999-12-31 relative to 1899-12-30.
constexpr qint64 kFirstDay = -693593;
constexpr qint64 kLastDay = 2958465;

qint64 bcEpochJulian()
{
    return QDate(1899, 12, 30).toJulianDay();
}

class Cursor
{
public:
    explicit Cursor(QStringView s) : m_s(s) {}

    bool atEnd() const { return m_i >= m_s.size(); }
    bool skipBlanks()
    {
        const qsizetype start = m_i;
        while (!atEnd() && isCSpace(m_s[m_i]))
            ++m_i;
        return m_i > start;
    }
    bool literal(QChar c)
    {
        if (atEnd() || m_s[m_i] != c)
            return false;
        ++m_i;
        return true;
    }
    // 1 to maxDigits decimal digits; returns the count read (0: none).
    int number(int &out, int maxDigits)
    {
        int count = 0;
        out = 0;
        while (count < maxDigits && !atEnd() && isDigit(m_s[m_i])) {
            out = out * 10 + digitValue(m_s[m_i]);
            ++m_i;
            ++count;
        }
        return count;
    }
    bool word(QStringView w)
    {
        if (!m_s.mid(m_i).startsWith(w, Qt::CaseInsensitive))
            return false;
        m_i += w.size();
        return true;
    }
    bool nextIsDigit() const { return !atEnd() && isDigit(m_s[m_i]); }

private:
    QStringView m_s;
    qsizetype m_i = 0;
};

bool parseBcDateTime(QStringView text, double &out)
{
    Cursor c(text);
    c.skipBlanks();
    int year = 0, month = 0, day = 0;
    if (!c.number(year, 4))
        return false;
    QChar sep;
    for (QChar candidate : {QChar(u'/'), QChar(u'-'), QChar(u'.')}) {
        if (c.literal(candidate)) {
            sep = candidate;
            break;
        }
    }
    if (sep.isNull() || !c.number(month, 2) || !c.literal(sep) || !c.number(day, 2))
        return false;

    int hour = 0, minute = 0, second = 0, ms = 0;
    const bool separated = c.literal(u'T') || c.skipBlanks();
    if (separated && c.nextIsDigit()) {
        if (!c.number(hour, 2) || !c.literal(u':') || !c.number(minute, 2))
            return false;
        if (c.literal(u':')) {
            if (!c.number(second, 2))
                return false;
            if (c.literal(u'.')) {
                const int count = c.number(ms, 3);
                if (count == 0)
                    return false;
                for (int k = count; k < 3; ++k)
                    ms *= 10;
                int ignored = 0;
                while (c.number(ignored, 1) == 1) {
                }
            }
        }
        c.skipBlanks();
        const bool am = c.word(u"am");
        const bool pm = !am && c.word(u"pm");
        if (am || pm) {
            if (hour > 12)
                return false;
            if (hour == 12)
                hour = 0;
            if (pm)
                hour += 12;
        } else if (hour > 23) {
            return false;
        }
        if (minute > 59 || second > 59)
            return false;
    }
    c.skipBlanks();
    if (!c.atEnd())
        return false;
    if (year < 1 || !QDate::isValid(year, month, day))
        return false;

    const double days = double(QDate(year, month, day).toJulianDay() - bcEpochJulian());
    const double time = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + ms) / kMsPerDay;
    // Before the epoch the whole part counts back while the fraction still
    // runs forward through the day.
    out = days < 0 ? days - time : days + time;
    return true;
}

} // namespace

int PartSize(quint32 type)
{
    switch (type) {
    case KtType::Boolean:
    case KtType::Integer:
    case KtType::IpAddress:
    case KtType::NsapAddr:
    case KtType::Counter:
    case KtType::Gauge:
    case KtType::UInteger:
    case KtType::TimeTicks:
        return 4;
    case KtType::Counter64:
    case KtType::Double:
    case KtType::BcDateTime:
        return 8;
    case KtType::MacAddress:
        return 6;
    case KtType::DateTime:
        return 11;
    case KtType::Ipv6Address:
        return 16;
    case KtType::Bool8:
    case KtType::Int8:
    case KtType::UInt8:
        return 1;
    case KtType::Bool16:
    case KtType::Int16:
    case KtType::UInt16:
        return 2;
    case KtType::Null:
        return 0;
    case KtType::BitStr:
    case KtType::OctetStr:
    case KtType::ObjectId:
    case KtType::Opaque:
    case KtType::DisplayStr:
        return -1;
    default:
        return -2;
    }
}

QString OctetsToHex(const QByteArray &octets)
{
    return QString::fromLatin1(octets.toHex().toUpper());
}

QByteArray HexToOctets(const QString &text)
{
    QByteArray nibbles;
    nibbles.reserve(text.size());
    for (QChar c : text) {
        if (c.isSpace())
            continue;
        const char16_t u = c.unicode();
        char v = 0;
        if (u >= '0' && u <= '9')
            v = char(u - '0');
        else if (u >= 'a' && u <= 'f')
            v = char(u - 'a' + 10);
        else if (u >= 'A' && u <= 'F')
            v = char(u - 'A' + 10);
        nibbles.append(v);
    }
    QByteArray out;
    out.reserve((nibbles.size() + 1) / 2);
    qsizetype i = 0;
    if (nibbles.size() % 2) {
        out.append(nibbles[0]);
        i = 1;
    }
    for (; i + 1 < nibbles.size(); i += 2)
        out.append(char((nibbles[i] << 4) | nibbles[i + 1]));
    return out;
}

QString TicksToText(quint32 ticks)
{
    const quint32 d = ticks / 8640000;
    const quint32 h = (ticks % 8640000) / 360000;
    const quint32 m = (ticks % 360000) / 6000;
    const quint32 s = (ticks % 6000) / 100;
    const quint32 c = ticks % 100;
    if (d == 0)
        return QString::asprintf("%u:%02u:%02u.%02u", h, m, s, c);
    if (d == 1)
        return QString::asprintf("1 day %u:%02u:%02u.%02u", h, m, s, c);
    return QString::asprintf("%u days, %u:%02u:%02u.%02u", d, h, m, s, c);
}

quint32 TextToTicks(const QString &text)
{
    // Parts are bounded before they are weighted so the sum cannot
    // overflow; the total saturates to the 32-bit range.
    auto part = [](QStringView s) {
        return qBound<qint64>(-0x100000000LL, atolView(s), 0x100000000LL);
    };
    QStringView rest(text);
    qint64 days = 0, hours = 0, minutes = 0, seconds = 0, hundredths = 0;

    qsizetype p = rest.indexOf(u"days");
    qsizetype wordLength = 4;
    if (p < 0) {
        p = rest.indexOf(u"day");
        wordLength = 3;
    }
    if (p >= 0) {
        days = part(rest.left(p));
        rest = rest.mid(p + wordLength);
    }
    p = rest.indexOf(u',');
    if (p >= 0)
        rest = rest.mid(p + 1);
    p = rest.indexOf(u':');
    if (p >= 0) {
        hours = part(rest.left(p));
        rest = rest.mid(p + 1);
        p = rest.indexOf(u':');
        if (p >= 0) {
            minutes = part(rest.left(p));
            rest = rest.mid(p + 1);
        }
    }
    p = rest.indexOf(u'.');
    if (p >= 0) {
        seconds = part(rest.left(p));
        hundredths = part(rest.mid(p + 1));
    }
    const qint64 total = days * 8640000 + hours * 360000 + minutes * 6000 + seconds * 100 + hundredths;
    return quint32(qBound<qint64>(0, total, std::numeric_limits<quint32>::max()));
}

qint64 Atol(const QString &text)
{
    return atolView(text);
}

QString BcDateTimeToText(double days)
{
    if (!std::isfinite(days) || days < double(kFirstDay) || days >= double(kLastDay + 1))
        KtThrowEngine(KtCatalogue::EngBadPartValue);
    double whole = std::trunc(days);
    qint64 ms = std::llround(std::fabs(days - whole) * kMsPerDay);
    if (ms >= qint64(kMsPerDay)) {
        // Rounded up to the next midnight.
        ms = 0;
        whole += 1;
    }
    if (whole > double(kLastDay))
        KtThrowEngine(KtCatalogue::EngBadPartValue);
    const QDate date = QDate::fromJulianDay(bcEpochJulian() + qint64(whole));
    const int seconds = int(ms / 1000);
    const int hour = seconds / 3600;
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    return QString::asprintf("%04d/%02d/%02d %02d:%02d:%02d %s", date.year(), date.month(), date.day(),
                             hour12, (seconds / 60) % 60, seconds % 60, hour < 12 ? "am" : "pm");
}

double TextToBcDateTime(const QString &text)
{
    double days = 0;
    if (!parseBcDateTime(text, days))
        return 0;
    return days;
}

quint64 TextToCounter64(const QString &text)
{
    const FloatText f = scanFloat(text);
    constexpr quint64 max = std::numeric_limits<quint64>::max();
    switch (f.kind) {
    case FloatText::NoNumber:
    case FloatText::NotANumber:
        return 0;
    case FloatText::Infinity:
        return f.negative ? 0 : max;
    case FloatText::Integer: {
        if (f.negative)
            return 0;
        // Exact, since a long double need not hold every 64-bit value.
        quint64 v = 0;
        for (char ch : f.body) {
            const unsigned d = unsigned(ch - '0');
            if (v > (max - d) / 10)
                return max;
            v = v * 10 + d;
        }
        return v;
    }
    case FloatText::Real:
        break;
    }
    if (f.negative)
        return 0;
    const long double v = convertReal<long double>(f);
    if (!(v >= 1.0L))
        return 0;
    // 2^64 exactly; anything at or above it does not fit.
    if (v >= 18446744073709551616.0L)
        return max;
    return quint64(v);
}

double ParseDouble(const QString &text)
{
    const FloatText f = scanFloat(text);
    double v = 0;
    switch (f.kind) {
    case FloatText::NoNumber:
        return 0;
    case FloatText::Infinity:
        v = std::numeric_limits<double>::infinity();
        break;
    case FloatText::NotANumber:
        v = std::numeric_limits<double>::quiet_NaN();
        break;
    case FloatText::Integer:
    case FloatText::Real:
        v = convertReal<double>(f);
        break;
    }
    return f.negative ? std::copysign(v, -1.0) : v;
}

QString FormatDouble(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QList<quint32> ParseOid(const QString &text)
{
    QStringView s = QStringView(text).trimmed();
    if (s.startsWith(u'.'))
        s = s.mid(1);
    if (s.endsWith(u'.'))
        s.chop(1);
    QList<quint32> out;
    if (s.isEmpty())
        return out;
    qsizetype start = 0;
    while (true) {
        const qsizetype dot = s.indexOf(u'.', start);
        const QStringView component = dot < 0 ? s.mid(start) : s.mid(start, dot - start);
        out.append(quint32(qBound<qint64>(0, atolView(component), std::numeric_limits<quint32>::max())));
        if (dot < 0)
            break;
        start = dot + 1;
    }
    return out;
}

QString OidToText(const QList<quint32> &oid)
{
    QString out;
    for (qsizetype i = 0; i < oid.size(); ++i) {
        if (i)
            out += u'.';
        out += QString::number(oid[i]);
    }
    return out;
}

QByteArray TextToRaw(const QString &text, quint32 type)
{
    if (text == kNullText || type == KtType::Null)
        return {};
    switch (type) {
    case KtType::Boolean:
        return boolRaw(text, 4);
    case KtType::Bool8:
        return boolRaw(text, 1);
    case KtType::Bool16:
        return boolRaw(text, 2);
    case KtType::Integer:
        return le32(textToField32(text, true));
    case KtType::Counter:
    case KtType::Gauge:
    case KtType::UInteger:
        return le32(textToField32(text, false));
    case KtType::Int8:
    case KtType::UInt8:
        return QByteArray(1, char(quint8(Atol(text))));
    case KtType::Int16:
    case KtType::UInt16:
        return be16(quint16(Atol(text)));
    case KtType::BitStr:
    case KtType::OctetStr:
    case KtType::Opaque:
    case KtType::MacAddress:
    case KtType::Ipv6Address:
        return HexToOctets(text);
    case KtType::ObjectId: {
        QByteArray out;
        for (quint32 id : ParseOid(text))
            out += le32(id);
        return out;
    }
    case KtType::IpAddress:
    case KtType::NsapAddr: {
        QByteArray out;
        for (quint32 id : ParseOid(text))
            out.append(char(quint8(id)));
        return out;
    }
    case KtType::TimeTicks:
        return le32(TextToTicks(text));
    case KtType::Counter64:
        return le64(TextToCounter64(text));
    case KtType::Double:
        return le64(std::bit_cast<quint64>(ParseDouble(text)));
    case KtType::DateTime:
        return KtDateTime(text).raw();
    case KtType::BcDateTime:
        return le64(std::bit_cast<quint64>(TextToBcDateTime(text)));
    case KtType::DisplayStr:
        return text.toUtf8();
    default:
        KtThrowEngine(KtCatalogue::EngBadSyntax);
    }
}

QString RawToText(const QByteArray &raw, quint32 type)
{
    if (type == KtType::Null)
        return kNullText;
    if (raw.isEmpty())
        return type == KtType::DisplayStr ? QString() : kNullText;
    const int size = PartSize(type);
    if (size == -2)
        KtThrowEngine(KtCatalogue::EngBadSyntax);
    // DateAndTime may leave out its zone (8 octets).
    requireSize(raw, type == KtType::DateTime ? DateTimeShortSize : size);

    switch (type) {
    case KtType::Boolean:
        return boolText(readLe32(raw) != 0);
    case KtType::Bool8:
        return boolText(raw[0] != 0);
    case KtType::Bool16:
        return boolText(readBe16(raw) != 0);
    case KtType::Integer:
        return QString::number(qint32(readLe32(raw)));
    case KtType::Counter:
    case KtType::Gauge:
    case KtType::UInteger:
        return QString::number(readLe32(raw));
    case KtType::Int8:
        return QString::number(qint8(raw[0]));
    case KtType::UInt8:
        return QString::number(quint8(raw[0]));
    case KtType::Int16:
    case KtType::UInt16:
        return QString::number(readBe16(raw));
    case KtType::BitStr:
    case KtType::OctetStr:
    case KtType::Opaque:
    case KtType::MacAddress:
    case KtType::Ipv6Address:
        return OctetsToHex(raw);
    case KtType::ObjectId: {
        QList<quint32> oid;
        for (qsizetype i = 0; i + 4 <= raw.size(); i += 4)
            oid.append(qFromLittleEndian<quint32>(raw.constData() + i));
        return OidToText(oid);
    }
    case KtType::IpAddress:
    case KtType::NsapAddr:
        return ipText(raw);
    case KtType::TimeTicks:
        return TicksToText(readLe32(raw));
    case KtType::Counter64:
        return QString::number(readLe64(raw));
    case KtType::Double:
        return FormatDouble(std::bit_cast<double>(readLe64(raw)));
    case KtType::DateTime:
        return KtDateTime::fromRaw(raw.size() < size ? raw.left(DateTimeShortSize) : raw).toString();
    case KtType::BcDateTime:
        return BcDateTimeToText(std::bit_cast<double>(readLe64(raw)));
    case KtType::DisplayStr:
        return KtTextCodec::Decode(raw);
    default:
        KtThrowEngine(KtCatalogue::EngBadSyntax);
    }
}

QByteArray ExtractPart(const QByteArray &raw, int offset, quint32 type)
{
    if (raw.isEmpty())
        return {};
    const int size = PartSize(type);
    if (size == -2)
        KtThrowEngine(KtCatalogue::EngBadSyntax);
    if (offset < 0)
        KtThrowEngine(KtCatalogue::EngPartRange);
    if (size == -1)
        return offset >= raw.size() ? QByteArray() : raw.mid(offset);
    if (qint64(offset) + size > raw.size())
        KtThrowEngine(KtCatalogue::EngPartRange);
    return raw.mid(offset, size);
}

} // namespace KtValue
