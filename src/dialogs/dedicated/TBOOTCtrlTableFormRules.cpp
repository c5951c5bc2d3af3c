#include "dialogs/dedicated/TBOOTCtrlTableFormRules.h"

#include "dialogs/dedicated/KtAddressRules.h"
#include "dialogs/dedicated/KtListSpec.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

namespace TBOOTCtrlTableFormRules {

KtSNMPVarList RelayList()
{
    static const KtOptionList state(KtOptionTable{{2, {}, QStringLiteral("invalid")}, {3, {}, QStringLiteral("valid")}});
    return KtListOf("1.3.6.1.4.1.32473.11.69.1.3.3.1.7.1",
                    {{"1", "Interface Name", KtType::DisplayStr, KtAccess::NotAccess},
                     {"2", "Bootp Server IP", KtType::IpAddress, KtAccess::NotAccess},
                     {"3", "State", KtType::Integer, KtAccess::ReadWrite, &state}},
                    KtKind::MVT_FMV, 2);
}

std::optional<Refusal> CheckAdd(const QString &interfaceName, const QString &serverText,
                                const QStringList &listedInterfaces, QString *server)
{
    const auto address = KtAddressRules::CheckServerAddress(serverText);
    if (!address)
        return Refusal{QStringLiteral("Invalid Bootp Server IP Address."), Field::Server};
    // The name becomes part of the row's index; an empty one names no interface.
    if (interfaceName.isEmpty())
        return Refusal{QStringLiteral("Please input Interface Name."), Field::Interface};
    if (listedInterfaces.count(interfaceName) >= MaxServersPerInterface)
        return Refusal{QStringLiteral("One Interface Can Only With Four Bootp Servers"), Field::Interface, true};
    if (server)
        *server = *address;
    return std::nullopt;
}

} // namespace TBOOTCtrlTableFormRules
