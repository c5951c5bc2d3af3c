#include "ports/KtPortColumns.h"

#include "mib/KtMibData.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"

namespace KtPortColumns {

QList<KtPortColumn> VlanMembership()
{
    QList<KtPortColumn> columns;
    const KtSNMPVarTable *table = KtMibData::Instance().FindTable(QLatin1String(VlanStaticTable));
    if (!table)
        return columns;
    // The index and the name are enough to list the VLANs.
    KtSNMPVarTable names;
    for (const KtSNMPVar &v : *table)
        if (v.Oid.trimmed().isEmpty() || v.Oid.endsWith(QLatin1String(".1")))
            names.append(v);
    KtSNMPRequest walk(KtSNMPVarList(names, KtKind::MVT_UMV, 1));
    QStringList vlans;
    for (bool more = walk.Fetch(true); more; more = walk.Fetch(false))
        vlans << walk.Vars.Get(0).Value;
    for (const QString &vlan : std::as_const(vlans))
        for (const KtSNMPVar &v : *table)
            if (v.Type == KtType::BitStr && (v.Access & KtAccess::WriteOnly)
                && !v.Label.contains(QLatin1String("Forbidden")))
                columns.append(KtPortColumn{QStringLiteral("VLAN"), v, {}, vlan});
    return columns;
}

} // namespace KtPortColumns
