#include "dialogs/dedicated/TBOOTCtrlTableFormRules.h"

#include "dialogs/dedicated/KtAddressRules.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

namespace TBOOTCtrlTableFormRules {

KtSNMPVarList RelayList()
{
    static const KtOptionList state(KtOptionTable{{2, {}, QStringLiteral("invalid")}, {3, {}, QStringLiteral("valid")}});
    const QString root = QStringLiteral("1.3.6.1.4.1.32473.11.69.1.3.3.1.7.1");
    KtSNMPVarList list;
    list.AppendVarShared(root + QStringLiteral(".1"), QStringLiteral("Interface Name"), KtType::DisplayStr,
                         KtAccess::NotAccess, nullptr);
    list.AppendVarShared(root + QStringLiteral(".2"), QStringLiteral("Bootp Server IP"), KtType::IpAddress,
                         KtAccess::NotAccess, nullptr);
    list.AppendVarShared(root + QStringLiteral(".3"), QStringLiteral("State"), KtType::Integer, KtAccess::ReadWrite, &state);
    list.Kind = KtKind::MVT_FMV;
    list.IndexCount = 2;
    return list;
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
