#include "dialogs/dedicated/TEquipmentBasicInfoFormRules.h"
#include "dialogs/dedicated/KtListSpec.h"

#include "values/KtOptionList.h"
#include "values/KtTypes.h"

namespace TEquipmentBasicInfoFormRules {

KtSNMPVarList EquipmentList()
{
    static const KtOptionList capacity(KtOptionTable{{0, QStringLiteral("40"), QStringLiteral("Redundant Power")}},
                                       KtOptionList::TextValues);
    return KtListOf("1.3.6.1.4.1.32473.12.11.1",
                    {{"1", "Equipment Capacity", KtType::BitStr, KtAccess::ReadOnly, &capacity},
                     {"9.1", "Stacking Version", KtType::Integer, KtAccess::ReadOnly},
                     {"9.2", "Max SupportedUnits", KtType::Integer, KtAccess::ReadOnly},
                     {"9.3", "Num Of Unit", KtType::Integer, KtAccess::ReadOnly}},
                    KtKind::SVT_SV);
}

} // namespace TEquipmentBasicInfoFormRules
