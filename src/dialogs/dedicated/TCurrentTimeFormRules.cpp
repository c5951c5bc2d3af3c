#include "dialogs/dedicated/TCurrentTimeFormRules.h"

#include "snmp/KtSNMPVarList.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

namespace TCurrentTimeFormRules {

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

KtSNMPVarList List()
{
    const QString group = QStringLiteral("1.3.6.1.4.1.32473.12.10.");
    KtSNMPVarList list;
    list.AppendVarShared(group + QLatin1Char('1'), QStringLiteral("Time Capacity"), KtType::BitStr, KtAccess::ReadOnly,
                         nullptr);
    list.AppendVarShared(group + QLatin1Char('2'), QStringLiteral("Current Clock(Example 1992-5-26,13:30:15.0)"),
                         KtType::DateTime, KtAccess::ReadWrite, nullptr);
    list.AppendVarShared(group + QLatin1Char('3'), QStringLiteral("Clock Reset On Reboot"), KtType::Integer,
                         KtAccess::ReadOnly, &KtOptionLists::TruthValue());
    list.Kind = KtKind::SVT_SV;
    return list;
}

std::optional<QString> CapacityText(const QString &hex)
{
    // Only the last octet is tested, so only it is kept: no length overflows.
    unsigned last = 0;
    int digits = 0;
    for (QChar c : hex) {
        const int d = hexDigit(c);
        if (d < 0)
            break;
        last = ((last << 4) | unsigned(d)) & 0xFFu;
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    QString text(QLatin1Char(' '));
    if (last & 0x80)
        text += QStringLiteral("systemTime");
    if (last & 0x40)
        text += QStringLiteral(",SNTP");
    if (last & 0x20)
        text += QStringLiteral(",SummerTime");
    if (last & 0x10)
        text += QStringLiteral(",realTimeClock");
    return text;
}

} // namespace TCurrentTimeFormRules
