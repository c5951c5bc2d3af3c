#include "dialogs/dedicated/TACLMeterFormRules.h"

#include "dialogs/dedicated/KtDedicatedRules.h"
#include "dialogs/dedicated/KtListSpec.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

namespace TACLMeterFormRules {

KtSNMPVarList MeterList()
{
    static const KtOptionList actions(KtOptionTable{{1, {}, QStringLiteral("other")},
                                                    {2, {}, QStringLiteral("drop-packet")},
                                                    {3, {}, QStringLiteral("set-drop-precedence")}});
    return KtListOf("1.3.6.1.4.1.32473.12.9.6.1.1",
                    {{"1", "ACL Meter Profile ID", KtType::Integer, KtAccess::NotAccess},
                     {"2", "ACL Meter Access ID", KtType::Integer, KtAccess::NotAccess},
                     {"3", "Meter Rate", KtType::Integer, KtAccess::ReadWrite},
                     {"4", "Meter Action For Rate Exceed", KtType::Integer, KtAccess::ReadWrite, &actions}},
                    KtKind::MVT_UMV, 2);
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
