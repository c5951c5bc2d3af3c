#include "snmp/KtExpression.h"

#include "snmp/KtSNMPVarList.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"

#include <QDateTime>
#include <QTimeZone>

#include <cmath>
#include <limits>

namespace {

[[noreturn]] void badOperand()
{
    throw KtException(-1, KtCatalogue::Text(KtCatalogue::Common, KtCatalogue::ComBadLogicOperand));
}

[[noreturn]] void badExpression()
{
    KtThrowEngine(KtCatalogue::EngBadExprSyntax);
}

QString numberText(double v)
{
    return QString::number(v, 'g', 17);
}

// Position of ch outside double-quoted text, searching from the left
// (last = false) or the right; -1 when absent.
int findOutsideQuotes(const QString &s, QChar ch, bool last = false)
{
    bool quoted = false;
    int found = -1;
    for (int i = 0; i < s.size(); ++i) {
        if (s.at(i) == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && s.at(i) == ch) {
            if (!last)
                return i;
            found = i;
        }
    }
    return found;
}

// Innermost parenthesised part outside quotes: [open, close].
bool innermostParens(const QString &s, int &open, int &close)
{
    bool quoted = false;
    open = -1;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('('))
            open = i;
        else if (!quoted && c == QLatin1Char(')')) {
            if (open < 0)
                return false;
            close = i;
            return true;
        }
    }
    return false;
}

double leafNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("NOW"), Qt::CaseInsensitive) == 0)
        return KtExpression::Now();
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        badExpression();
    return v;
}

// A '-' or '+' is binary when something other than an operator precedes it.
bool isBinaryAt(const QString &s, int i)
{
    for (int j = i - 1; j >= 0; --j) {
        const QChar c = s.at(j);
        if (c.isSpace())
            continue;
        return !(c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('*') || c == QLatin1Char('/')
                 || c == QLatin1Char('e') || c == QLatin1Char('E'));
    }
    return false;
}

double evalFlat(const QString &s)
{
    // Lowest precedence last-found first gives left-to-right evaluation.
    for (int i = s.size() - 1; i >= 0; --i) {
        const QChar c = s.at(i);
        if ((c == QLatin1Char('+') || c == QLatin1Char('-')) && isBinaryAt(s, i)) {
            const double l = evalFlat(s.left(i));
            const double r = evalFlat(s.mid(i + 1));
            return c == QLatin1Char('+') ? l + r : l - r;
        }
    }
    for (int i = s.size() - 1; i >= 0; --i) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('*') || c == QLatin1Char('/')) {
            const double l = evalFlat(s.left(i));
            const double r = evalFlat(s.mid(i + 1));
            if (c == QLatin1Char('/') && r == 0)
                badExpression();
            return c == QLatin1Char('*') ? l * r : l / r;
        }
    }
    return leafNumber(s);
}

QString unquote(const QString &text)
{
    QString t = text.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('"')) && t.endsWith(QLatin1Char('"')))
        t = t.mid(1, t.size() - 2);
    if (t.compare(QLatin1String("NOW"), Qt::CaseInsensitive) == 0)
        t = numberText(KtExpression::Now());
    return t;
}

bool compare(const QString &left, const QString &op, const QString &right)
{
    const QString a = unquote(left);
    const QString b = unquote(right);
    bool okA = false, okB = false;
    const double x = a.toDouble(&okA);
    const double y = b.toDouble(&okB);
    int order;
    if (okA && okB)
        order = x < y ? -1 : (x > y ? 1 : 0);
    else
        order = QString::compare(a, b);
    if (op == QLatin1String("<>"))
        return order != 0;
    if (op == QLatin1String(">="))
        return order >= 0;
    if (op == QLatin1String("<="))
        return order <= 0;
    if (op == QLatin1String(">"))
        return order > 0;
    if (op == QLatin1String("<"))
        return order < 0;
    return order == 0;
}

// Operator position outside quotes, or -1.
int findOperator(const QString &s, const QString &op)
{
    bool quoted = false;
    for (int i = 0; i + op.size() <= s.size(); ++i) {
        if (s.at(i) == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && QStringView(s).mid(i, op.size()) == op)
            return i;
    }
    return -1;
}

bool evalCondition(const QString &text, int depth)
{
    if (depth > 200)
        badOperand();
    QString s = text.trimmed();
    int open = 0, close = 0;
    while (innermostParens(s, open, close)) {
        const bool inner = evalCondition(s.mid(open + 1, close - open - 1), depth + 1);
        s = s.left(open) + (inner ? QStringLiteral("true") : QStringLiteral("false")) + s.mid(close + 1);
    }
    const int bar = findOutsideQuotes(s, QLatin1Char('|'));
    if (bar >= 0)
        return evalCondition(s.left(bar), depth + 1) || evalCondition(s.mid(bar + 1), depth + 1);
    const int amp = findOutsideQuotes(s, QLatin1Char('&'));
    if (amp >= 0) {
        const bool l = evalCondition(s.left(amp), depth + 1);
        const bool r = evalCondition(s.mid(amp + 1), depth + 1);
        return l && r;
    }
    s = s.trimmed();
    if (s.startsWith(QLatin1Char('!')) && !s.startsWith(QLatin1String("!=")))
        return !evalCondition(s.mid(1), depth + 1);
    static const char *const ops[] = {"<>", ">=", "<=", ">", "<", "="};
    for (const char *op : ops) {
        const QString o = QString::fromLatin1(op);
        const int at = findOperator(s, o);
        if (at >= 0)
            return compare(s.left(at), o, s.mid(at + o.size()));
    }
    if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    badOperand();
}

} // namespace

namespace KtExpression {

double Now()
{
    static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
    const QDateTime now = QDateTime::currentDateTime();
    // Local wall-clock time, as the date texts show it.
    const qint64 ms = epoch.msecsTo(QDateTime(now.date(), now.time()));
    return double(ms) / 86400000.0;
}

QString Substitute(const KtSNMPVarList &vars, const QString &text, bool quote, QChar marker)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) != marker) {
            out += text.at(i);
            continue;
        }
        int j = i + 1;
        qint64 n = 0;
        while (j < text.size() && text.at(j).isDigit() && text.at(j).unicode() < 128) {
            n = qMin<qint64>(n * 10 + (text.at(j).unicode() - '0'), 1000000);
            ++j;
        }
        i = j - 1;
        if (n >= vars.Count())
            badExpression();
        const KtSNMPVar &var = vars.Get(int(n));
        if (var.Value == QLatin1String("(NULL)"))
            badExpression();
        const QString value = var.Options ? var.Options->LabelToValue(var.Value) : var.Value;
        switch (var.Type) {
        case KtType::Boolean:
        case KtType::Bool8:
        case KtType::Bool16:
            out += value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ? QLatin1Char('1')
                                                                                   : QLatin1Char('0');
            break;
        case KtType::Integer:
        case KtType::Counter:
        case KtType::Gauge:
        case KtType::Counter64:
        case KtType::UInteger:
        case KtType::Double:
        case KtType::Int8:
        case KtType::UInt8:
        case KtType::Int16:
        case KtType::UInt16:
            out += value;
            break;
        case KtType::TimeTicks:
            out += QString::number(KtValue::TextToTicks(value));
            break;
        case KtType::BcDateTime:
            out += numberText(KtValue::TextToBcDateTime(value));
            break;
        default:
            if (!quote)
                KtThrowEngine(KtCatalogue::EngExprType);
            out += QLatin1Char('"') + value + QLatin1Char('"');
            break;
        }
    }
    return out;
}

double Arithmetic(const QString &text)
{
    QString s = text;
    int open = 0, close = 0;
    int guard = 0;
    while (innermostParens(s, open, close)) {
        if (++guard > 10000)
            badExpression();
        const double inner = evalFlat(s.mid(open + 1, close - open - 1));
        s = s.left(open) + numberText(inner) + s.mid(close + 1);
    }
    if (s.contains(QLatin1Char('(')) || s.contains(QLatin1Char(')')))
        badExpression();
    return evalFlat(s);
}

QString StoreNumber(double value, quint32 type)
{
    auto clampUnsigned = [](double v, double max) { return v < 0 ? 0.0 : (v > max ? max : v); };
    // A NaN has no integer value: converting it would be undefined.
    if (std::isnan(value) && type != KtType::Double && type != KtType::Boolean)
        KtThrowEngine(KtCatalogue::EngBadExprSyntax);
    switch (type) {
    case KtType::Boolean:
        return value != 0 ? QStringLiteral("true") : QStringLiteral("false");
    case KtType::Integer: {
        const double v = std::trunc(qBound(-2147483648.0, value, 2147483647.0));
        return QString::number(qint64(v));
    }
    case KtType::Counter:
    case KtType::Gauge:
    case KtType::UInteger:
        return QString::number(quint64(std::trunc(clampUnsigned(value, 4294967295.0))));
    case KtType::TimeTicks:
        return KtValue::TicksToText(quint32(std::trunc(clampUnsigned(value, 4294967295.0))));
    case KtType::Counter64:
        return QString::number(quint64(std::trunc(clampUnsigned(value, 18446744073709549568.0))));
    case KtType::Double:
        return QString::number(value, 'g', 15);
    case KtType::BcDateTime:
        return KtValue::BcDateTimeToText(value);
    default:
        KtThrowEngine(KtCatalogue::EngExprType);
    }
}

bool Condition(const QString &text)
{
    return evalCondition(text, 0);
}

} // namespace KtExpression
