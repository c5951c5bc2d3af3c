#include "dialogs/generic/KtTableText.h"

#include <algorithm>
#include <numeric>

namespace KtTableText {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isHexDigit(QChar c)
{
    return isDigit(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

struct Decimal
{
    bool negative = false;
    QStringView whole;     // without leading zeros
    QStringView fraction;  // without trailing zeros
};

bool parseDecimal(QStringView text, Decimal *out)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    const qsizetype wholeStart = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (i == wholeStart)
        return false;
    qsizetype wholeEnd = i;
    qsizetype fracStart = i, fracEnd = i;
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        fracStart = ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        if (i == fracStart)
            return false;
        fracEnd = i;
    }
    if (i != text.size())
        return false;
    if (out) {
        qsizetype w = wholeStart;
        while (w < wholeEnd - 1 && text[w] == QLatin1Char('0'))
            ++w;
        while (fracEnd > fracStart && text[fracEnd - 1] == QLatin1Char('0'))
            --fracEnd;
        out->whole = text.mid(w, wholeEnd - w);
        out->fraction = text.mid(fracStart, fracEnd - fracStart);
        const bool zero = out->whole == QLatin1String("0") && out->fraction.isEmpty();
        out->negative = negative && !zero;
    }
    return true;
}

// Digit strings without leading zeros, by value.
int compareDigits(QStringView a, QStringView b)
{
    while (a.size() > 1 && a.front() == QLatin1Char('0'))
        a = a.mid(1);
    while (b.size() > 1 && b.front() == QLatin1Char('0'))
        b = b.mid(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

int compareDecimal(const QString &a, const QString &b)
{
    Decimal x, y;
    parseDecimal(a, &x);
    parseDecimal(b, &y);
    if (x.negative != y.negative)
        return x.negative ? -1 : 1;
    int c = compareDigits(x.whole, y.whole);
    if (c == 0)
        c = x.fraction.compare(y.fraction);  // trailing zeros are gone, so text order is value order
    return x.negative ? -c : c;
}

int sign(int v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

int compareNatural(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const bool da = isDigit(a[i]), db = isDigit(b[j]);
        if (da != db)
            return da ? -1 : 1;
        qsizetype ie = i, je = j;
        while (ie < a.size() && isDigit(a[ie]) == da)
            ++ie;
        while (je < b.size() && isDigit(b[je]) == db)
            ++je;
        const QStringView ra = QStringView(a).mid(i, ie - i), rb = QStringView(b).mid(j, je - j);
        const int c = da ? compareDigits(ra, rb) : ra.compare(rb, Qt::CaseInsensitive);
        if (c != 0)
            return sign(c);
        i = ie;
        j = je;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return 0;
}

bool isHexText(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isHexDigit);
}

} // namespace

bool IsPlaceholder(const QString &text)
{
    return text.isEmpty() || text == QLatin1String("(NULL)") || text == QLatin1String("(NOTDONE)");
}

Order ColumnOrder(const QStringList &texts)
{
    bool numbers = true, hex = true;
    qsizetype hexLength = -1;
    for (const QString &t : texts) {
        if (IsPlaceholder(t))
            continue;
        numbers = numbers && parseDecimal(t, nullptr);
        if (hex) {
            hex = isHexText(t) && (hexLength < 0 || hexLength == t.size());
            hexLength = t.size();
        }
    }
    if (numbers)
        return Order::Number;
    return hex ? Order::Hex : Order::Natural;
}

int Compare(const QString &a, const QString &b, Order order)
{
    const bool pa = IsPlaceholder(a), pb = IsPlaceholder(b);
    if (pa || pb)
        return pa == pb ? sign(a.compare(b)) : (pa ? -1 : 1);
    int c = 0;
    switch (order) {
    case Order::Number:
        c = parseDecimal(a, nullptr) && parseDecimal(b, nullptr) ? compareDecimal(a, b) : compareNatural(a, b);
        break;
    case Order::Hex:
        c = a.compare(b, Qt::CaseInsensitive);
        break;
    case Order::Natural:
        c = compareNatural(a, b);
        break;
    }
    // Equal by value ("01" and "1"): the plain text decides, so the order stays total.
    return c != 0 ? sign(c) : sign(a.compare(b));
}

QList<int> SortedPositions(const QStringList &texts, bool descending)
{
    const Order order = ColumnOrder(texts);
    QList<int> positions(texts.size());
    std::iota(positions.begin(), positions.end(), 0);
    std::stable_sort(positions.begin(), positions.end(), [&](int x, int y) {
        const int c = Compare(texts.at(x), texts.at(y), order);
        return descending ? c > 0 : c < 0;
    });
    return positions;
}

QString TabText(const QList<QStringList> &rows)
{
    QStringList lines;
    lines.reserve(rows.size());
    for (const QStringList &row : rows) {
        QStringList fields;
        for (QString f : row) {
            for (QChar &c : f)
                if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
                    c = QLatin1Char(' ');
            fields.append(f);
        }
        lines.append(fields.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n'));
}

QString CsvField(const QString &field)
{
    static const QString special = QStringLiteral(",\"\r\n");
    if (std::none_of(field.begin(), field.end(), [](QChar c) { return special.contains(c); }))
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString CsvText(const QList<QStringList> &rows)
{
    QString out;
    for (const QStringList &row : rows) {
        QStringList fields;
        fields.reserve(row.size());
        for (const QString &f : row)
            fields.append(CsvField(f));
        out += fields.join(QLatin1Char(',')) + QLatin1String("\r\n");
    }
    return out;
}

QString RowHint(const QStringList &captions, const QStringList &texts)
{
    qsizetype longest = 0;
    for (const QString &c : captions)
        longest = std::max(longest, c.size());
    QString hint;
    for (qsizetype k = 0; k < captions.size(); ++k)
        hint += captions.at(k) + QString(longest - captions.at(k).size(), QLatin1Char('\t')) + QLatin1String("  ")
            + texts.value(k) + QLatin1Char('\n');
    return hint;
}

} // namespace KtTableText
