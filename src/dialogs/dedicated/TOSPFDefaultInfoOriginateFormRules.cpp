#include "dialogs/dedicated/TOSPFDefaultInfoOriginateFormRules.h"

#include "dialogs/dedicated/KtDedicatedOptions.h"
#include "snmp/KtSNMPVarList.h"
#include "values/KtTypes.h"

namespace TOSPFDefaultInfoOriginateFormRules {

namespace {

const KtOptionList &enabledDisabled()
{
    static const KtOptionList list = KtIntOptionList({{1, "enabled"}, {2, "disabled"}});
    return list;
}

const KtOptionList &metricTypes()
{
    static const KtOptionList list = KtIntOptionList({{1, "type1"}, {2, "type2"}});
    return list;
}

} // namespace

KtSNMPVarList List()
{
    const QString group = QStringLiteral("1.3.6.1.4.1.32473.11.69.1.3.12.");
    KtSNMPVarList list;
    list.AppendVarShared(group + QLatin1Char('1'), QStringLiteral("State"), KtType::Integer, KtAccess::ReadWrite,
                         &enabledDisabled());
    list.AppendVarShared(group + QLatin1Char('2'), QStringLiteral("Always"), KtType::Integer, KtAccess::ReadWrite,
                         &enabledDisabled());
    list.AppendVarShared(group + QLatin1Char('3'), QStringLiteral("Mettype"), KtType::Integer, KtAccess::ReadWrite,
                         &metricTypes());
    list.AppendVarShared(group + QLatin1Char('4'), QStringLiteral("Metric"), KtType::Integer, KtAccess::ReadWrite,
                         nullptr);
    list.Kind = KtKind::SVT_SV;
    return list;
}

bool DependentsEnabled(int stateItem, const QString &stateText)
{
    return stateItem != 1 && stateText != QLatin1String("disabled");
}

QString Check(const QList<bool> &ticked, const QString &metric)
{
    if (ticked.value(Metric) && metric.trimmed().isEmpty())
        return QString::fromLatin1(EmptyMetricText);
    if (!ticked.contains(true))
        return QString::fromLatin1(NothingTickedText);
    return {};
}

QList<int> LeftOut(const QList<bool> &ticked)
{
    QList<int> out;
    for (int i = 0; i < VarCount; ++i)
        if (!ticked.value(i))
            out.append(i);
    return out;
}

} // namespace TOSPFDefaultInfoOriginateFormRules
