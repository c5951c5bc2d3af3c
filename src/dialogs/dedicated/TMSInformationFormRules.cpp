#include "dialogs/dedicated/TMSInformationFormRules.h"

#include "dialogs/dedicated/KtDedicatedOptions.h"
#include "dialogs/dedicated/KtDedicatedRules.h"
#include "snmp/KtSNMPVarList.h"
#include "values/KtTypes.h"

namespace TMSInformationFormRules {

namespace {

const QString TableOid = QStringLiteral("1.3.6.1.4.1.32473.12.8.1.3.1.");

const KtOptionList &statuses()
{
    static const KtOptionList list = KtIntOptionList({{1, "active"}, {4, "createAndGo"}, {6, "destroy"}});
    return list;
}

} // namespace

KtSNMPVarList TableList()
{
    struct Col
    {
        const char *label;
        quint32 type;
        quint32 access;
    };
    static const Col cols[] = {{"MS ID", KtType::Integer, KtAccess::NotAccess},
                               {"MS Device Name", KtType::DisplayStr, KtAccess::ReadOnly},
                               {"MS MAC Addr", KtType::MacAddress, KtAccess::ReadOnly},
                               {"MS Firmware Ver", KtType::DisplayStr, KtAccess::ReadOnly},
                               {"MS Capability", KtType::DisplayStr, KtAccess::ReadOnly},
                               {"MS Platform", KtType::DisplayStr, KtAccess::ReadOnly},
                               {"MS Holdtime", KtType::Integer, KtAccess::ReadOnly},
                               {"MS CAS Source", KtType::Integer, KtAccess::ReadWrite},
                               {"MS Password", KtType::DisplayStr, KtAccess::ReadWrite},
                               {"MS Row Status", KtType::Integer, KtAccess::ReadWrite}};
    KtSNMPVarList list;
    int arc = 1;
    for (const Col &c : cols) {
        list.AppendVarShared(TableOid + QString::number(arc), QString::fromLatin1(c.label), c.type, c.access,
                             arc == 10 ? &statuses() : nullptr);
        ++arc;
    }
    list.Kind = KtKind::MVT_UMV;
    list.IndexCount = 1;
    return list;
}

KtSNMPVarList EditList()
{
    KtSNMPVarList list;
    // The ID is the instance, never a value of the set.
    list.AppendVarShared(TableOid + QLatin1Char('1'), QStringLiteral("ID"), KtType::Integer, KtAccess::ReadOnly,
                         nullptr);
    list.AppendVarShared(TableOid + QLatin1Char('8'), QStringLiteral("Member Candidate Source"), KtType::Integer,
                         KtAccess::ReadWrite, nullptr);
    list.AppendVarShared(TableOid + QLatin1Char('9'), QStringLiteral("Member Password"), KtType::DisplayStr,
                         KtAccess::ReadWrite, nullptr);
    list.AppendVarShared(TableOid + QStringLiteral("10"), QStringLiteral("Member Row Status"), KtType::Integer,
                         KtAccess::ReadWrite, &statuses());
    list.Kind = KtKind::MVT_SV;
    list.IndexCount = 1;
    return list;
}

QString SuffixOf(const QString &id)
{
    const auto n = KtDedicatedRules::ParseNumber(id, MinId, MaxId);
    return n ? QString::number(*n) : QString();
}

Verdict CheckAdd(const Entry &e, const QStringList &existingIds)
{
    for (const QString &existing : existingIds)
        if (!e.id.trimmed().isEmpty() && KtDedicatedRules::SameNumber(existing, e.id))
            return {QStringLiteral("There is already a record with the same Member Siwitch ID. Please modified it."),
                    Field::Id, true, {}};
    if (e.id.trimmed().isEmpty())
        return {QStringLiteral("Member Siwitch ID is needed."), Field::Id, false, {}};
    const QString suffix = SuffixOf(e.id);
    if (suffix.isEmpty())
        return {QStringLiteral("Member Switch ID must be a number from %1 to %2.").arg(MinId).arg(MaxId), Field::Id,
                false, {}};
    if (e.candidate.trimmed().isEmpty())
        return {QStringLiteral("Member Candidate ID is needed."), Field::Candidate, false, {}};
    if (!KtDedicatedRules::ParseNumber(e.candidate, MinId, MaxId))
        return {QStringLiteral("Member Candidate ID must be a number from %1 to %2.").arg(MinId).arg(MaxId),
                Field::Candidate, false, {}};
    if (e.rowStatus != QLatin1String("createAndGo"))
        return {QStringLiteral("Member Row State must be createAndGo."), Field::RowStatus, false, {}};
    return {{}, Field::None, false, suffix};
}

} // namespace TMSInformationFormRules
