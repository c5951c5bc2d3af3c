#include "dialogs/dedicated/TSTP_InfoRules.h"

#include "dialogs/dedicated/KtDedicatedOptions.h"
#include "dialogs/dedicated/KtDedicatedRules.h"
#include "snmp/KtSNMPVarList.h"
#include "values/KtTypes.h"

#include <limits>

namespace TSTP_InfoRules {

namespace {

const QString Group = QStringLiteral("1.3.6.1.4.1.32473.12.15.1");

struct Scalar
{
    int arc;
    const char *label;
    const KtOptionList *options;
};

QList<Scalar> scalars()
{
    return {{2, "Version", &Versions()},       {3, "Max Age", nullptr},
            {4, "Hello Time", nullptr},        {5, "Forward Delay", nullptr},
            {6, "Max Hops", nullptr},          {7, "TX Hold Count", nullptr},
            {8, "Forward BPDU", &KtOptionLists::DisabledEnabled()}};
}

KtSNMPVarList listOf(const QList<int> &editVars)
{
    KtSNMPVarList list;
    const QList<Scalar> all = scalars();
    for (int i : editVars) {
        const Scalar &s = all.at(i);
        list.AppendVarShared(Group + QLatin1Char('.') + QString::number(s.arc), QString::fromLatin1(s.label),
                             KtType::Integer, KtAccess::ReadWrite, s.options);
    }
    list.Kind = KtKind::SVT_SV;
    return list;
}

const QList<int> &mstpVars()
{
    static const QList<int> vars{Version, MaxAge, ForwardDelay, MaxHops, TxHoldCount, ForwardBpdu};
    return vars;
}

constexpr qint64 Wide = std::numeric_limits<qint32>::max();

} // namespace

const KtOptionList &Versions()
{
    static const KtOptionList list = KtIntOptionList({{0, "stp"}, {1, "rstp"}, {2, "mstp"}});
    return list;
}

KtSNMPVarList EditList()
{
    return listOf({Version, MaxAge, HelloTime, ForwardDelay, MaxHops, TxHoldCount, ForwardBpdu});
}

KtSNMPVarList MstpList()
{
    return listOf(mstpVars());
}

QString Format(int editVar)
{
    switch (editVar) {
    case MaxAge: return QStringLiteral("%i{n600x4000l4a}");
    case HelloTime: return QStringLiteral("%i{n100x1000l4a}");
    case ForwardDelay: return QStringLiteral("%i{n400x3000l4a}");
    case MaxHops: return QStringLiteral("%i{n1x20l2a}");
    case TxHoldCount: return QStringLiteral("%i{n1x10l2a}");
    default: return {};
    }
}

int EditVarOf(int mstpVar)
{
    return mstpVars().value(mstpVar, -1);
}

QString Check(const Entry &e)
{
    const QString empty = QStringLiteral("Don't Leave Empty Fileds !");
    const QString dataError = QStringLiteral("Data Error !");
    // A drop-down without a choice or an empty count would go out as 0.
    for (const QString *text : {&e.version, &e.maxHops, &e.maxAge, &e.forwardDelay, &e.txHoldCount, &e.bpdu})
        if (text->trimmed().isEmpty())
            return empty;
    const auto number = [](const QString &text) { return KtDedicatedRules::ParseNumber(text, -Wide, Wide); };
    const auto notNumber = [](const QString &text) {
        return QStringLiteral("'%1' is not a valid integer value").arg(text);
    };
    const auto hops = number(e.maxHops), age = number(e.maxAge), delay = number(e.forwardDelay);
    if (!hops)
        return notNumber(e.maxHops);
    if (!age)
        return notNumber(e.maxAge);
    if (!delay)
        return notNumber(e.forwardDelay);
    if (2 * *delay - 200 < *age)
        return dataError;
    if (*hops > 65535)
        return QStringLiteral("Priority value is wrong!");
    if (e.version == QLatin1String(Mstp))
        return {};
    if (e.helloTime.trimmed().isEmpty())
        return empty;
    const auto hello = number(e.helloTime);
    if (!hello)
        return notNumber(e.helloTime);
    if (*age < 2 * *hello + 200)
        return dataError;
    return {};
}

QList<Set> Plan(const QString &selected, const QString &running)
{
    const bool same = selected == running;
    if (selected == QLatin1String(Mstp)) {
        Set set{true, {MstpMaxAge, MstpForwardDelay, MstpMaxHops, MstpTxHoldCount, MstpForwardBpdu}};
        if (!same)
            set.vars.prepend(MstpVersion);
        return {set};
    }
    const Set values{false, {MaxAge, HelloTime, ForwardDelay, MaxHops, TxHoldCount, ForwardBpdu}};
    if (same)
        return {values};
    // The device takes the new version first, then timers that hold under it.
    return {Set{false, {Version}}, values};
}

} // namespace TSTP_InfoRules
