#include "values/KtConstraintFormat.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"

#include <QLocale>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

[[noreturn]] void badFormat()
{
    throwBadConstraint();
}

// QChar::isDigit also takes digits of other scripts; the language is ASCII.
bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isHexDigit(QChar c)
{
    return isAsciiDigit(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
           || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

bool isNumberChar(QChar c)
{
    return isAsciiDigit(c) || c == QLatin1Char('-') || c == QLatin1Char('.');
}

// Delimiter and exit character are stored as one byte; anything that does
// not fit would silently turn into another character.
char latin1Char(QChar c)
{
    if (c.unicode() == 0 || c.unicode() > 0xFF)
        badFormat();
    return char(c.unicode());
}

// Locale-independent conversion of the whole text; false when any
// character is left over, the value does not fit a double, or it is NaN.
bool toDouble(const QString &text, double *value)
{
    const QByteArray bytes = text.toLatin1();
    const char *begin = bytes.constData();
    const char *end = begin + bytes.size();
    double v = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, v, std::chars_format::general);
    if (ec != std::errc() || ptr != end || std::isnan(v))
        return false;
    *value = v;
    return true;
}

int toInt(const QString &digits)
{
    const QByteArray bytes = digits.toLatin1();
    int v = 0;
    const auto [ptr, ec] = std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), v);
    if (ec != std::errc() || ptr != bytes.constData() + bytes.size())
        badFormat();
    return v;
}

template <typename Pred>
QString takeRun(const QString &s, qsizetype *pos, Pred accept)
{
    const qsizetype start = *pos;
    while (*pos < s.size() && accept(s.at(*pos)))
        ++*pos;
    return s.mid(start, *pos - start);
}

quint32 truncateToU32(double d)
{
    if (!(d > 0))  // also NaN
        return 0;
    if (d >= 4294967295.0)
        return std::numeric_limits<quint32>::max();
    return quint32(d);
}

QString fill(int entry, const char *placeholder, const QString &value)
{
    // A catalogue file has one message per line and writes a line break
    // as the two characters "\n"; the built-in texts hold the real one.
    return KtCatalogue::Text(KtCatalogue::Common, entry)
        .replace(QLatin1String("\\n"), QLatin1String("\n"))
        .replace(QLatin1String(placeholder), value);
}

} // namespace

void throwBadConstraint()
{
    throw KtException(-2, KtCatalogue::Text(KtCatalogue::Common, KtCatalogue::ComBadConstraint));
}

KtConstraintFormat parseConstraint(const QString &format)
{
    if (format.size() < 2 || format.at(0) != QLatin1Char('%'))
        badFormat();

    KtConstraintFormat f;
    switch (format.at(1).unicode()) {
    case 's':
    case 'h':
        break;
    case 'i':
        f.minimum = -2147483648.0;
        f.maximum = 2147483647.0;
        break;
    case 'u':
        f.minimum = 0;
        f.maximum = 4294967295.0;
        break;
    case 'f':
    case 'n':
        f.minimum = DBL_MIN;
        f.maximum = DBL_MAX;
        break;
    default:
        badFormat();
    }
    f.type = char(format.at(1).unicode());

    qsizetype pos = 2;
    if (f.type == 'n') {
        if (format.size() < 3)
            badFormat();
        f.delimiter = latin1Char(format.at(2));
        pos = 3;
    }
    if (pos == format.size())
        return f;

    if (format.at(pos) != QLatin1Char('{') || !format.endsWith(QLatin1Char('}')))
        badFormat();

    const QString opts = format.mid(pos + 1, format.size() - pos - 2);
    qsizetype i = 0;
    while (i < opts.size()) {
        const QChar option = opts.at(i++);
        switch (option.unicode()) {
        case 'n':
        case 'x': {
            const QString run = takeRun(opts, &i, isNumberChar);
            double v = 0;
            if (run.isEmpty() || !toDouble(run, &v) || !std::isfinite(v))
                badFormat();
            (option == QLatin1Char('n') ? f.minimum : f.maximum) = v;
            break;
        }
        case 'l': {
            const QString run = takeRun(opts, &i, isAsciiDigit);
            if (run.isEmpty())
                badFormat();
            f.maxLength = toInt(run);
            for (int k = 0; k < 3 && i < opts.size(); ++k, ++i) {
                const QChar c = opts.at(i);
                if (c == QLatin1Char('a'))
                    f.flags |= KtConstraintFormat::Advance;
                else if (c == QLatin1Char('f'))
                    f.flags |= KtConstraintFormat::Exact;
                else if (c == QLatin1Char('n'))
                    f.flags |= KtConstraintFormat::Required;
                else
                    break;
            }
            break;
        }
        case 'w': {
            const QString run = takeRun(opts, &i, isAsciiDigit);
            if (run.isEmpty())
                badFormat();
            f.width = toInt(run);
            break;
        }
        case 'e':
            if (i >= opts.size())
                badFormat();
            f.exitChar = latin1Char(opts.at(i++));
            break;
        default:
            badFormat();
        }
    }
    return f;
}

namespace {

// Whether c may follow the already accepted prefix of an entry. Every rule
// depends on that prefix only, which is what lets acceptedText work in one
// pass.
bool mayFollow(const KtConstraintFormat &f, QChar c, QStringView prefix, bool seenDot)
{
    switch (f.type) {
    case 's':
        return true;
    case 'h':
        return isHexDigit(c);
    case 'i':
        return isAsciiDigit(c) || (prefix.isEmpty() && c == QLatin1Char('-'));
    case 'u':
        return isAsciiDigit(c);
    case 'f':
        return isAsciiDigit(c) || (prefix.isEmpty() && c == QLatin1Char('-'))
               || (!seenDot && c == QLatin1Char('.'));
    case 'n': {
        const QChar delim = QChar::fromLatin1(f.delimiter);
        return isAsciiDigit(c) || (c == delim && !prefix.isEmpty() && prefix.back() != delim);
    }
    default:
        return false;
    }
}

} // namespace

int KtConstraintFormat::firstRejected(const QString &text) const
{
    bool seenDot = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!mayFollow(*this, c, QStringView(text).first(i), seenDot))
            return int(i);
        seenDot = seenDot || c == QLatin1Char('.');
    }
    return -1;
}

QString KtConstraintFormat::acceptedText(const QString &text, int *rejected) const
{
    QString kept;
    kept.reserve(text.size());
    bool seenDot = false;
    int dropped = 0;
    for (const QChar c : text) {
        if (mayFollow(*this, c, kept, seenDot)) {
            kept += c;
            seenDot = seenDot || c == QLatin1Char('.');
        } else {
            ++dropped;
        }
    }
    if (rejected)
        *rejected = dropped;
    return kept;
}

quint32 KtConstraintFormat::unsignedMinimum() const
{
    return truncateToU32(minimum);
}

quint32 KtConstraintFormat::unsignedMaximum() const
{
    return truncateToU32(maximum);
}

KtConstraintFormat::Verdict KtConstraintFormat::exitVerdict(const QString &text, QString *message) const
{
    using namespace KtCatalogue;
    auto reject = [&](const QString &m) {
        if (message)
            *message = m;
        return Verdict::Reject;
    };

    if (isPlaceholderText(text))
        return Verdict::Skip;
    if (text.isEmpty())
        return hasFlag(Required) ? reject(QString::fromLatin1(KtRequiredEntryText)) : Verdict::Skip;

    switch (type) {
    case 'i':
    case 'u':
    case 'f': {
        double v = 0;
        // A text that is not a whole number ("-", ".") or does not fit a
        // double counts as out of range rather than as some value.
        if (!toDouble(text, &v) || v < minimum || v > maximum)
            return reject(fill(ComNumberRange, "[MIN]", formatBound(minimum))
                              .replace(QLatin1String("[MAX]"), formatBound(maximum)));
        break;
    }
    case 's':
    case 'h':
        if (maxLength > 0) {
            const bool hex = type == 'h';
            if (hasFlag(Exact) && text.size() != maxLength)
                return reject(fill(hex ? ComHexExactLen : ComStrExactLen, "[LEN]",
                                   QString::number(maxLength)));
            if (!hasFlag(Exact) && text.size() > maxLength)
                return reject(fill(hex ? ComHexTooLong : ComStrTooLong, "[MAXLEN]",
                                   QString::number(maxLength)));
        }
        break;
    case 'n': {
        const QChar delim = QChar::fromLatin1(delimiter);
        const QString delimText(delim);
        const QStringList numbers = text.split(delim);
        const qsizetype count = numbers.size();
        if (maxLength > 0) {
            if (hasFlag(Exact) && count != maxLength)
                return reject(fill(ComListExactCount, "[COUNT]", QString::number(maxLength))
                                  .replace(QLatin1String("[DELIMITER]"), delimText));
            if (!hasFlag(Exact) && count > maxLength)
                return reject(fill(ComListTooMany, "[MAXCOUNT]", QString::number(maxLength))
                                  .replace(QLatin1String("[DELIMITER]"), delimText));
        }
        const quint32 lo = unsignedMinimum();
        const quint32 hi = unsignedMaximum();
        for (const QString &number : numbers) {
            qsizetype p = 0;
            quint64 value = 0;
            while (p < number.size() && isAsciiDigit(number.at(p))) {
                // Saturate: anything past 32 bits is out of range anyway.
                value = qMin<quint64>(value * 10 + (number.at(p).unicode() - '0'), 1ull << 33);
                ++p;
            }
            // An empty number ("1..2", "1.") or one with stray characters
            // is no number at all; digits after a "." do not count.
            const bool wellFormed = p > 0 && (p == number.size() || number.at(p) == QLatin1Char('.'));
            if (!wellFormed || value < lo || value > hi)
                return reject(fill(ComListRange, "[MIN]", QString::number(lo))
                                  .replace(QLatin1String("[MAX]"), QString::number(hi))
                                  .replace(QLatin1String("[DELIMITER]"), delimText));
        }
        break;
    }
    default:
        break;
    }
    return Verdict::Accept;
}

QStringList splitConstraints(const QString &format)
{
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 1; i < format.size(); ++i) {
        if (format.at(i) == QLatin1Char('%')) {
            pieces.append(format.mid(start, i - start));
            start = i;
        }
    }
    if (!format.isEmpty())
        pieces.append(format.mid(start));
    return pieces;
}

QList<KtFormatPiece> splitRow(const QString &format)
{
    QList<KtFormatPiece> pieces;
    QString label;
    auto flushLabel = [&] {
        if (!label.isEmpty())
            pieces.append({false, label});
        label.clear();
    };

    const qsizetype n = format.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = format.at(i);
        if (c != QLatin1Char('%')) {
            label += c;
            ++i;
            continue;
        }
        if (i + 1 < n && format.at(i + 1) == QLatin1Char('%')) {
            label += c;
            i += 2;
            continue;
        }
        flushLabel();
        qsizetype end = i + 1;
        if (end < n) {
            const bool delimited = format.at(end) == QLatin1Char('n');
            ++end;
            if (delimited && end < n)
                ++end;
        }
        if (end < n && format.at(end) == QLatin1Char('{')) {
            const qsizetype close = format.indexOf(QLatin1Char('}'), end);
            if (close < 0)
                badFormat();
            end = close + 1;
        }
        const QString piece = format.mid(i, end - i);
        parseConstraint(piece);
        pieces.append({true, piece});
        i = end;
    }
    flushLabel();
    return pieces;
}

QString formatBound(double value)
{
    // Shortest 'g' turns round numbers into exponents ("1e+06"); keep the
    // plain form wherever it stays readable.
    const double magnitude = std::fabs(value);
    if (magnitude == 0 || (magnitude >= 1e-4 && magnitude < 1e16))
        return QString::number(value, 'f', QLocale::FloatingPointShortest);
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

bool isPlaceholderText(const QString &text)
{
    return text == QLatin1String("(NOTDONE)") || text == QLatin1String("(NULL)");
}
