#include "dialogs/dedicated/TIpCtrlFormRules.h"

#include "dialogs/dedicated/KtAddressRules.h"
#include "dialogs/dedicated/KtDedicatedRules.h"
#include "dialogs/dedicated/KtListSpec.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

namespace TIpCtrlFormRules {

namespace {

const QString True = QStringLiteral("true");
const QString False = QStringLiteral("false");

const KtOptionList &adminStates()
{
    static const KtOptionList list(KtOptionTable{{1, {}, QStringLiteral("active")},
                                                 {2, {}, QStringLiteral("notInService")},
                                                 {4, {}, QStringLiteral("createAndGo")},
                                                 {6, {}, QStringLiteral("destroy")}});
    return list;
}

std::optional<Refusal> checkVlan(const Entry &entry, const QList<Row> &rows)
{
    if (entry.Secondary.isEmpty())
        return Refusal{QStringLiteral("Please choose Secondary."), Field::Secondary};
    // A VLAN holds one primary interface and at most one secondary.
    int seen = 0;
    for (const Row &row : rows) {
        if (row.Vlan != entry.Vlan)
            continue;
        if (++seen == 2)
            return Refusal{QStringLiteral("A VLAN can just create two interface."), Field::Vlan};
        if (entry.Secondary == False)
            return Refusal{QStringLiteral("This vlan has been used to create primary interface.\n"
                                          "Please choose true in Secondary"),
                           Field::Secondary};
        if (row.Secondary == True)
            return Refusal{QStringLiteral("Please input different VLAN Name."), Field::Vlan};
    }
    if (seen == 0 && entry.Secondary == True)
        return Refusal{QStringLiteral("You should create primary interface at first."), Field::Secondary};
    return std::nullopt;
}

} // namespace

KtSNMPVarList InterfaceList()
{
    static const KtOptionList modes(KtOptionTable{
        {2, {}, QStringLiteral("manual")}, {3, {}, QStringLiteral("bootp")}, {4, {}, QStringLiteral("dhcp")}});
    static const KtOptionList truth(KtOptionTable{{1, {}, True}, {2, {}, False}});
    static const KtOptionList oper(KtOptionTable{{2, {}, QStringLiteral("up")}, {3, {}, QStringLiteral("down")}});
    static const KtOptionList arp(
        KtOptionTable{{2, {}, QStringLiteral("disabled")}, {3, {}, QStringLiteral("enabled")}});
    return KtListOf("1.3.6.1.4.1.32473.11.69.1.3.2.1.1.1",
                    {{"1", "IP Address", KtType::IpAddress, KtAccess::NotAccess},
                     {"2", "IF Index", KtType::Integer, KtAccess::ReadOnly},
                     {"3", "Interface Name", KtType::DisplayStr, KtAccess::ReadWrite},
                     {"4", "Subnet Mask", KtType::IpAddress, KtAccess::ReadWrite},
                     {"5", "VLAN Name", KtType::DisplayStr, KtAccess::ReadWrite},
                     {"6", "Mode", KtType::Integer, KtAccess::ReadWrite, &modes},
                     {"7", "Secondary", KtType::Integer, KtAccess::ReadWrite, &truth},
                     {"8", "Admin State", KtType::Integer, KtAccess::ReadWrite, &adminStates()},
                     {"9", "Operational State", KtType::Integer, KtAccess::ReadOnly, &oper},
                     {"10", "Proxy ARP State", KtType::Integer, KtAccess::ReadWrite, &arp}},
                    KtKind::MVT_UMV, 1);
}

QStringList StateChoices(int mode)
{
    if (mode == EditMode)
        return {QStringLiteral("active"), QStringLiteral("notInService")};
    QStringList all;
    for (const KtOptionEntry &e : adminStates().entries())
        all.append(e.Label);
    return all;
}

QString FixedState(int mode)
{
    return mode == AddMode ? QStringLiteral("createAndGo") : QString();
}

QList<int> KeptByEdit()
{
    return {IfIndexColumn, NameColumn, MaskColumn, VlanColumn, SecondaryColumn};
}

QList<int> LeftOutOfDelete()
{
    return {IfIndexColumn, NameColumn, MaskColumn, VlanColumn, ModeColumn, SecondaryColumn, OperColumn, ArpColumn};
}

std::optional<Refusal> CheckChoices(const Entry &entry)
{
    if (entry.Mode.isEmpty())
        return Refusal{QStringLiteral("Please choose Mode"), Field::Mode};
    if (entry.Secondary.isEmpty())
        return Refusal{QStringLiteral("Please choose Secondary"), Field::Secondary};
    // A state left without choice would go out as 0.
    if (entry.State.isEmpty())
        return Refusal{QStringLiteral("Please choose State"), Field::State};
    if (entry.Oper.isEmpty())
        return Refusal{QStringLiteral("Please choose Link State"), Field::Oper};
    return std::nullopt;
}

std::optional<Refusal> CheckAdd(const Entry &entry, const QList<Row> &rows, QString *address)
{
    const auto plain = KtAddressRules::CheckServerAddress(entry.Address);
    if (!plain)
        return Refusal{QStringLiteral("Please input valid IP Address."), Field::Address};
    if (!KtAddressRules::IsInterfaceMask(entry.Mask))
        return Refusal{QStringLiteral("Please input valid Subnet Mask."), Field::Mask};
    // Networks of different masks overlap as well as equal ones do.
    const quint32 ip = *KtAddressRules::ParseDotted(*plain);
    const quint32 mask = *KtAddressRules::ParseDotted(entry.Mask);
    for (const Row &row : rows) {
        const auto other = KtAddressRules::ParseDotted(row.Address);
        const auto otherMask = KtAddressRules::ParseDotted(row.Mask);
        if (other && otherMask && KtAddressRules::NetworksOverlap(ip, mask, *other, *otherMask))
            return Refusal{QStringLiteral("There is an same interface, please modify IP or Subnet Mask!"),
                           Field::Address};
    }
    if (!KtDedicatedRules::ParseNumber(entry.IfIndex, 0, 65535))
        return Refusal{QStringLiteral("Please input If Index."), Field::IfIndex};
    for (const Row &row : rows)
        if (KtDedicatedRules::SameNumber(row.IfIndex, entry.IfIndex))
            return Refusal{QStringLiteral("Please input different If Index."), Field::IfIndex};
    if (entry.Name.isEmpty())
        return Refusal{QStringLiteral("Please input Interface Name."), Field::Name};
    for (const Row &row : rows)
        if (row.Name == entry.Name)
            return Refusal{QStringLiteral("Please input different Interface Name."), Field::Name};
    if (auto refusal = checkVlan(entry, rows))
        return refusal;
    if (auto refusal = CheckChoices(entry))
        return refusal;
    if (address)
        *address = *plain;
    return std::nullopt;
}

std::optional<QString> CheckDelete(const Row &selected, const QList<Row> &rows)
{
    if (selected.Name == SystemInterface)
        return QStringLiteral("The system IP interface can't be deleted.");
    if (selected.Secondary == False)
        for (const Row &row : rows)
            if (row.Address != selected.Address && row.Vlan == selected.Vlan)
                return QStringLiteral("The secondary interface must be deleted first!");
    return std::nullopt;
}

} // namespace TIpCtrlFormRules
