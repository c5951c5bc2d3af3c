#pragma once

#include <QString>

// The input rules of the one editor whose rows 1 to 4 are "From IP",
// "To IP", "Access" and "State" of a multicast address range.
namespace KtMulticastRange {

// Longest text that is examined at all; anything longer is no address.
inline constexpr int MaxLength = 24;

// Four non-empty pieces between dots (empty pieces between adjacent dots
// are skipped), no dot at either end, each piece's leading digits below
// 256 (no leading digits count as 0), the first from 224 to 239.
bool IsMulticastAddress(const QString &text);

struct Rows
{
    bool fromChecked = false;
    bool toChecked = false;
    bool accessChecked = false;
    bool stateChecked = false;
    QString fromText;
    QString toText;
    QString accessText;
};

// The message that refuses the write, or an empty text when it may go.
QString Refusal(const Rows &rows);

} // namespace KtMulticastRange
