#include "dialogs/dedicated/TSummerTimeFormRules.h"

#include "dialogs/dedicated/KtDedicatedOptions.h"
#include "dialogs/dedicated/KtDedicatedRules.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPVarList.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"

namespace TSummerTimeFormRules {

namespace {

const KtOptionList &statuses()
{
    static const KtOptionList list = KtIntOptionList({{0, "disable"}, {1, "repeating"}, {2, "annual"}});
    return list;
}

const KtOptionList &months()
{
    static const KtOptionList list = KtIntOptionList({{1, "Jan"}, {2, "Feb"}, {3, "Mar"}, {4, "Apr"}, {5, "May"},
                                                      {6, "Jun"}, {7, "Jul"}, {8, "Aug"}, {9, "Sep"}, {10, "Oct"},
                                                      {11, "Nov"}, {12, "Dec"}});
    return list;
}

const KtOptionList &weeks()
{
    static const KtOptionList list = KtIntOptionList({{1, "1st"}, {2, "2nd"}, {3, "3rd"}, {4, "4th"}, {0, "last"}});
    return list;
}

const KtOptionList &weekdays()
{
    static const KtOptionList list =
        KtIntOptionList({{1, "Sun"}, {2, "Mon"}, {3, "Tue"}, {4, "Wed"}, {5, "Thu"}, {6, "Fri"}, {7, "Sat"}});
    return list;
}

bool isRepeating(int var)
{
    return var == RepeatingStart || var == RepeatingEnd;
}

// A number typed into an hour, minute or day box; not a number counts as missing.
qint64 typed(const QString &text)
{
    return KtDedicatedRules::ParseNumber(text, 0, 65535).value_or(-1);
}

int daysIn(int month)
{
    switch (month) {
    case 2: return 28;
    case 4: case 6: case 9: case 11: return 30;
    default: return 31;
    }
}

// Time error of one ticked rule row, else empty.
bool rowFails(const Row &row, bool repeating)
{
    const QString &hour = row.parts.value(repeating ? 3 : 2);
    const QString &minute = row.parts.value(repeating ? 4 : 3);
    const QList<int> choices = repeating ? QList<int>{0, 1, 2} : QList<int>{1};
    for (int c : choices)
        if (row.parts.value(c).isEmpty())
            return true;
    const qint64 h = typed(hour), m = typed(minute);
    if (h < 0 || m < 0 || h > 23 || m >= 60)
        return true;
    if (repeating)
        return false;
    const qint64 day = typed(row.parts.value(0));
    const int month = months().IndexOfLabel(row.parts.value(1)) + 1;
    return day < 1 || day > daysIn(month);
}

} // namespace

KtSNMPVarList List()
{
    const QString group = QStringLiteral("1.3.6.1.4.1.32473.12.10.12.");
    KtSNMPVarList list;
    list.AppendVarShared(group + QLatin1Char('1'), QStringLiteral("Status"), KtType::Integer, KtAccess::ReadWrite,
                         &statuses());
    list.AppendVarShared(group + QLatin1Char('2'), QStringLiteral("Offset"), KtType::Integer, KtAccess::ReadWrite,
                         nullptr);
    for (int arc = 3; arc <= 6; ++arc)
        list.AppendVarShared(group + QString::number(arc), arc % 2 ? QStringLiteral("Time Start") : QStringLiteral("Time End"),
                             KtType::OctetStr, KtAccess::ReadWrite, nullptr);
    list.Kind = KtKind::SVT_SV;
    return list;
}

bool IsPacked(int var)
{
    return var >= RepeatingStart && var <= AnnualEnd;
}

const QList<Part> &PartsOf(int var)
{
    static const QList<Part> repeating{{3, KtType::UInt8, &months(), ""},
                                       {0, KtType::UInt8, &weeks(), ""},
                                       {1, KtType::UInt16, &weekdays(), ""},
                                       {4, KtType::UInt8, nullptr, "Hour"},
                                       {5, KtType::UInt8, nullptr, "Minute"}};
    static const QList<Part> annual{{0, KtType::UInt8, nullptr, "Day"},
                                    {1, KtType::UInt8, &months(), ""},
                                    {2, KtType::UInt8, nullptr, "Hour"},
                                    {3, KtType::UInt8, nullptr, "Minute"}};
    static const QList<Part> none;
    return isRepeating(var) ? repeating : IsPacked(var) ? annual : none;
}

int MonthPart(int var)
{
    return isRepeating(var) ? 0 : 1;
}

QList<std::optional<QString>> Unpack(const QString &hexValue, int var)
{
    const bool absent = hexValue.startsWith(QLatin1Char('('));  // "(NULL)", "(NOTDONE)"
    const QByteArray raw = absent ? QByteArray() : KtValue::HexToOctets(hexValue);
    QList<std::optional<QString>> texts;
    for (const Part &p : PartsOf(var)) {
        if (p.offset + KtValue::PartSize(p.type) > raw.size()) {
            texts.append(std::nullopt);
            continue;
        }
        const QString number = KtValue::RawToText(KtValue::ExtractPart(raw, p.offset, p.type), p.type);
        texts.append(p.options ? p.options->ValueToLabel(number) : number);
    }
    return texts;
}

QList<int> PairOf(int statusItem)
{
    switch (statusItem) {
    case Repeating: return {RepeatingStart, RepeatingEnd};
    case Annual: return {AnnualStart, AnnualEnd};
    default: return {};
    }
}

QList<int> FirstRead()
{
    return {Status};
}

QList<int> SecondRead(int statusItem)
{
    return QList<int>{Offset} + PairOf(statusItem);
}

QString Check(const Entry &e)
{
    const QString status = QStringLiteral("Please choose Summer Time Status.");
    const QString timeError = QStringLiteral("Time error.");
    if (e.statusTicked && e.statusItem < 0)
        return status;
    if (e.offsetTicked && !e.offset.isEmpty()) {
        const qint64 offset = typed(e.offset);
        if (offset < 30 || offset > 120 || offset % 30 != 0)
            return QStringLiteral("Summer Time Offset must chosed from {30, 60, 90, 120}.");
    }
    if (e.statusItem == Disable)
        return {};
    // Without a status the rows cannot be told apart; say so rather than
    // refusing without a word.
    if (e.statusItem != Repeating && e.statusItem != Annual)
        return status;
    const bool repeating = e.statusItem == Repeating;
    for (const Row *row : {&e.start, &e.end})
        if (row->ticked && rowFails(*row, repeating))
            return timeError;
    const int month = repeating ? 0 : 1;
    if (e.start.ticked && e.end.ticked && e.start.parts.value(month) == e.end.parts.value(month))
        return QStringLiteral("From month and To month should not be the same.");
    return {};
}

bool EmptyTicked(const Entry &e)
{
    return e.offsetTicked && e.offset.isEmpty();
}

QList<QList<int>> WriteSteps(const Entry &e)
{
    QList<QList<int>> steps;
    if (e.statusTicked)
        steps.append(QList<int>{Status});
    const QList<int> pair = PairOf(e.statusItem);
    const bool pairTicked = !pair.isEmpty() && (e.start.ticked || e.end.ticked);
    if (e.offsetTicked || pairTicked)
        steps.append(SecondRead(e.statusItem));
    return steps;
}

} // namespace TSummerTimeFormRules
