#include "dialogs/dedicated/TEquipmentBasicInfoFormRules.h"

#include "values/KtOptionList.h"
#include "values/KtTypes.h"

namespace TEquipmentBasicInfoFormRules {

KtSNMPVarList EquipmentList()
{
    static const KtOptionList capacity(KtOptionTable{{0, QStringLiteral("40"), QStringLiteral("Redundant Power")}},
                                       KtOptionList::TextValues);
    const QString root = QStringLiteral("1.3.6.1.4.1.32473.12.11.1.");
    KtSNMPVarList list;
    list.AppendVarShared(root + QStringLiteral("1"), QStringLiteral("Equipment Capacity"), KtType::BitStr,
                         KtAccess::ReadOnly, &capacity);
    list.AppendVarShared(root + QStringLiteral("9.1"), QStringLiteral("Stacking Version"), KtType::Integer,
                         KtAccess::ReadOnly, nullptr);
    list.AppendVarShared(root + QStringLiteral("9.2"), QStringLiteral("Max SupportedUnits"), KtType::Integer,
                         KtAccess::ReadOnly, nullptr);
    list.AppendVarShared(root + QStringLiteral("9.3"), QStringLiteral("Num Of Unit"), KtType::Integer,
                         KtAccess::ReadOnly, nullptr);
    list.Kind = KtKind::SVT_SV;
    return list;
}

} // namespace TEquipmentBasicInfoFormRules
