#include "dialogs/generic/KtMulticastRange.h"

#include <QStringList>

#include <algorithm>

namespace KtMulticastRange {

namespace {

// The value of a piece's leading digits, capped so that long runs cannot overflow.
int leadingValue(const QString &piece)
{
    int value = 0;
    for (QChar c : piece) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = std::min(value * 10 + (c.unicode() - '0'), 1000);
    }
    return value;
}

} // namespace

bool IsMulticastAddress(const QString &text)
{
    if (text.isEmpty() || text.size() > MaxLength || text.startsWith(QLatin1Char('.'))
        || text.endsWith(QLatin1Char('.')))
        return false;
    const QStringList pieces = text.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (pieces.size() != 4)
        return false;
    for (const QString &p : pieces)
        if (leadingValue(p) >= 256)
            return false;
    const int first = leadingValue(pieces.first());
    return first >= 224 && first <= 239;
}

QString Refusal(const Rows &rows)
{
    const QString unchecked = QStringLiteral("Some fields need to be checked!");
    if (!rows.stateChecked)
        return unchecked;
    const int checked = int(rows.fromChecked) + int(rows.toChecked) + int(rows.accessChecked);
    if (checked != 0 && checked != 3)
        return unchecked;
    if (!IsMulticastAddress(rows.fromText))
        return QStringLiteral("Bad value of FromIP field!");
    if (!IsMulticastAddress(rows.toText))
        return QStringLiteral("Bad value of ToIP field!");
    if (rows.accessText == QLatin1String("none"))
        return QStringLiteral("Bad value of Access field!");
    return {};
}

} // namespace KtMulticastRange
