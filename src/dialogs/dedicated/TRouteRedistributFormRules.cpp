#include "dialogs/dedicated/TRouteRedistributFormRules.h"

#include "dialogs/dedicated/KtDedicatedOptions.h"
#include "dialogs/dedicated/KtDedicatedRules.h"
#include "snmp/KtSNMPVarList.h"
#include "values/KtTypes.h"

namespace TRouteRedistributFormRules {

namespace {

const KtOptionList &sources()
{
    static const KtOptionList list = KtIntOptionList({{2, "rip"}, {3, "ospf"}, {4, "static"}, {5, "local"}});
    return list;
}

const KtOptionList &destinations()
{
    static const KtOptionList list = KtIntOptionList({{2, "rip"}, {3, "ospf"}});
    return list;
}

const KtOptionList &statuses()
{
    static const KtOptionList list = KtIntOptionList({{1, "active"}, {4, "createAndGo"}, {6, "destroy"}});
    return list;
}

QList<bool> only(std::initializer_list<int> radios)
{
    QList<bool> on(Radios().size(), false);
    for (int r : radios)
        on[r] = true;
    return on;
}

} // namespace

const KtOptionList &Types()
{
    static const KtOptionList list =
        KtIntOptionList({{2, "all"}, {3, "type-1"}, {4, "type-2"}, {5, "internal"}, {6, "external"},
                         {7, "inter+E1"}, {8, "inter+E2"}, {9, "extType1"}, {10, "extType2"}});
    return list;
}

KtSNMPVarList List()
{
    const QString column = QStringLiteral("1.3.6.1.4.1.32473.11.69.1.3.5.1.");
    KtSNMPVarList list;
    list.AppendVarShared(column + QLatin1Char('1'), QStringLiteral("Source Protocol"), KtType::Integer,
                         KtAccess::NotAccess, &sources());
    list.AppendVarShared(column + QLatin1Char('2'), QStringLiteral("Destination Protocol"), KtType::Integer,
                         KtAccess::NotAccess, &destinations());
    list.AppendVarShared(column + QLatin1Char('3'), QStringLiteral("Type"), KtType::Integer, KtAccess::ReadWrite,
                         &Types());
    list.AppendVarShared(column + QLatin1Char('4'), QStringLiteral("Metric"), KtType::Integer, KtAccess::ReadWrite,
                         nullptr);
    list.AppendVarShared(column + QLatin1Char('5'), QStringLiteral("RowStatus"), KtType::Integer,
                         KtAccess::ReadWrite, &statuses());
    list.Kind = KtKind::MVT_UMV;
    list.IndexCount = 2;
    return list;
}

const QList<Radio> &Radios()
{
    static const QList<Radio> radios{{"other", nullptr},         {"all", "all"},
                                     {"type-1", "type-1"},       {"type-2", "type-2"},
                                     {"internal", "internal"},   {"external", "external"},
                                     {"inter-E1", "inter+E1"},   {"inter-E2", "inter+E2"},
                                     {"extType1", "extType1"},   {"extType2", "extType2"}};
    return radios;
}

int RadioOfType(const QString &typeText)
{
    const QList<Radio> &radios = Radios();
    for (int r = 0; r < radios.size(); ++r)
        if (radios.at(r).type && typeText == QLatin1String(radios.at(r).type))
            return r;
    return -1;
}

PairRule RuleOf(const QString &source, const QString &destination)
{
    PairRule rule;
    if (destination == QLatin1String("ospf")) {
        rule = {true, QString::fromLatin1(OspfRange), only({2, 3})};
    } else if (destination == QLatin1String("rip")) {
        if (source == QLatin1String("ospf"))
            rule = {true, QString::fromLatin1(RipRange), only({0, 1, 4, 5, 6, 7, 8, 9})};
        else if (source == QLatin1String("static") || source == QLatin1String("local"))
            rule = {true, QString::fromLatin1(RipRange), only({1})};
    }
    return rule;
}

bool MetricMissing(const QString &metric)
{
    return metric.trimmed().isEmpty();
}

QString MetricRefusal(const QString &destination, const QString &metric)
{
    if (MetricMissing(metric))
        return {};
    const bool rip = destination == QLatin1String("rip");
    const qint64 max = rip ? 16 : 16777214;
    if (KtDedicatedRules::ParseNumber(metric, 0, max))
        return {};
    return QStringLiteral("Metric out of Bound %1").arg(QLatin1String(rip ? RipRange : OspfRange));
}

} // namespace TRouteRedistributFormRules
