#include "dialogs/dedicated/TfrmACCServerCtrlRules.h"

#include "dialogs/dedicated/KtAddressRules.h"
#include "dialogs/dedicated/KtListSpec.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

namespace TfrmACCServerCtrlRules {

KtSNMPVarList ServerList()
{
    static const KtOptionList protocols(KtOptionTable{{1, {}, QStringLiteral("tacacs")},
                                                      {2, {}, QStringLiteral("xtacacs")},
                                                      {3, {}, QStringLiteral("tacacs-plus")},
                                                      {4, {}, QStringLiteral("radius")}});
    static const KtOptionList states(KtOptionTable{{1, {}, QStringLiteral("add")}, {2, {}, QStringLiteral("delete")}});
    return KtListOf("1.3.6.1.4.1.32473.12.5.12.1",
                    {{"1", "Group Name", KtType::DisplayStr, KtAccess::NotAccess},
                     {"2", "IP Addr", KtType::IpAddress, KtAccess::NotAccess},
                     {"3", "Auth Protocol", KtType::Integer, KtAccess::NotAccess, &protocols},
                     {"4", "Row State", KtType::Integer, KtAccess::ReadWrite, &states}},
                    KtKind::MVT_UMV, 3);
}

std::optional<Refusal> CheckSet(const QString &group, const QString &address, const QString &protocol,
                                const QString &rowState, QString *plainAddress)
{
    const QString empty = QStringLiteral("Don't Leave Empty Fileds !");
    if (group.isEmpty())
        return Refusal{empty, Field::Group};
    if (address.isEmpty())
        return Refusal{empty, Field::Address};
    if (protocol.isEmpty())
        return Refusal{empty, Field::Protocol};
    if (rowState.isEmpty())
        return Refusal{empty, Field::RowState};
    // The address is part of the row's index: four numbers or nothing.
    const auto value = KtAddressRules::ParseDotted(address);
    if (!value)
        return Refusal{QStringLiteral("Please input valid IP Address."), Field::Address};
    if (plainAddress)
        *plainAddress = KtAddressRules::DottedText(*value);
    return std::nullopt;
}

} // namespace TfrmACCServerCtrlRules
