#include "dialogs/dedicated/TACLMeterFormRules.h"

#include "dialogs/dedicated/KtDedicatedRules.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

namespace TACLMeterFormRules {

KtSNMPVarList MeterList()
{
    static const KtOptionList actions(KtOptionTable{{1, {}, QStringLiteral("other")},
                                                    {2, {}, QStringLiteral("drop-packet")},
                                                    {3, {}, QStringLiteral("set-drop-precedence")}});
    const QString root = QStringLiteral("1.3.6.1.4.1.32473.12.9.6.1.1");
    KtSNMPVarList list;
    list.AppendVarShared(root + QStringLiteral(".1"), QStringLiteral("ACL Meter Profile ID"), KtType::Integer,
                         KtAccess::NotAccess, nullptr);
    list.AppendVarShared(root + QStringLiteral(".2"), QStringLiteral("ACL Meter Access ID"), KtType::Integer,
                         KtAccess::NotAccess, nullptr);
    list.AppendVarShared(root + QStringLiteral(".3"), QStringLiteral("Meter Rate"), KtType::Integer,
                         KtAccess::ReadWrite, nullptr);
    list.AppendVarShared(root + QStringLiteral(".4"), QStringLiteral("Meter Action For Rate Exceed"), KtType::Integer,
                         KtAccess::ReadWrite, &actions);
    list.Kind = KtKind::MVT_UMV;
    list.IndexCount = 2;
    return list;
}

std::optional<Refusal> CheckSet(bool rowSelected, const QString &rate, const QString &action)
{
    if (!rowSelected)
        return Refusal{QStringLiteral("Choose the item first."), Field::Row};
    if (!KtDedicatedRules::ParseNumber(rate, 0, MaxRate))
        return Refusal{QStringLiteral("Meter Rate must be a whole number from 0 to 999936."), Field::Rate};
    if (action.isEmpty())
        return Refusal{QStringLiteral("Please choose Meter Action For Rate Exceed."), Field::Action};
    return std::nullopt;
}

} // namespace TACLMeterFormRules
