#include "ports/KtPortColumns.h"

#include "ports/KtPortMap.h"
#include "ports/KtPortTables.h"

#include "mib/KtMibData.h"
#include "shell/catalogue/KtMenuCatalogue.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"

namespace KtPortColumns {

QList<KtPortColumn> Shared()
{
    QList<KtPortColumn> columns;
    const KtMibData &mib = KtMibData::Instance();
    const KtMenuCatalogue &catalogue = KtMenuCatalogue::Instance();
    for (const KtPortTable &t : KtPortTables::Instance()) {
        if (t.kind != KtPortTable::Index || t.indexCount != 1)
            continue;
        bool plain = true;
        for (int port : KtPortMap::Ports())
            plain = plain && KtPortTables::Number(t, port) == port;
        const KtSNMPVarTable *vars = mib.FindTable(t.table);
        if (!plain || !vars)
            continue;
        const QString section = KtPortTables::Caption(t, catalogue);
        for (const KtSNMPVar &v : *vars)
            if ((v.Access & KtAccess::WriteOnly) && !(v.Access & (KtAccess::Hidden | KtAccess::NotAccess))
                && !v.Oid.trimmed().isEmpty())
                columns.append(KtPortColumn{section, v, QStringLiteral("%1"), {}});
    }
    return columns;
}

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
