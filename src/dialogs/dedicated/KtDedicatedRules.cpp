#include "dialogs/dedicated/KtDedicatedRules.h"

#include "snmp/KtSNMPVarList.h"
#include "values/KtTypes.h"

#include <limits>

KtAccessOverride::KtAccessOverride(KtSNMPVarList &list, const QList<int> &indexes, quint32 access)
    : m_list(list)
{
    for (int i : indexes) {
        if (i < 0 || i >= list.Count())
            continue;
        m_saved.append({i, list.Get(i).Access});
        list.Get(i).Access = access;
    }
}

KtAccessOverride::~KtAccessOverride()
{
    Restore();
}

void KtAccessOverride::Restore()
{
    // Backwards, so an index named twice ends with its first saved bits.
    for (auto it = m_saved.crbegin(); it != m_saved.crend(); ++it)
        if (it->first < m_list.Count())
            m_list.Get(it->first).Access = it->second;
    m_saved.clear();
}

namespace KtDedicatedRules {

std::optional<qint64> ParseNumber(const QString &text, qint64 min, qint64 max)
{
    const QString t = text.trimmed();
    int start = 0;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+')))
        start = 1;
    if (t.size() <= start)
        return std::nullopt;
    for (int i = start; i < t.size(); ++i)
        if (t.at(i) < QLatin1Char('0') || t.at(i) > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const qint64 v = t.toLongLong(&ok, 10);  // fails on overflow
    if (!ok || v < min || v > max)
        return std::nullopt;
    return v;
}

bool SameNumber(const QString &a, const QString &b)
{
    constexpr qint64 lo = std::numeric_limits<qint64>::min();
    constexpr qint64 hi = std::numeric_limits<qint64>::max();
    const auto x = ParseNumber(a, lo, hi);
    const auto y = ParseNumber(b, lo, hi);
    if (x && y)
        return *x == *y;
    return a.trimmed() == b.trimmed();
}

bool HasSomethingToSet(const KtSNMPVarList &list)
{
    // The same choice the request makes when it builds a set.
    const bool table = list.Kind == KtKind::MVT_FMV || list.Kind == KtKind::MVT_UMV;
    for (int i = 0; i < list.Count(); ++i)
        if (list.IsWritable(i) && !(table && i < list.IndexCount))
            return true;
    return false;
}

} // namespace KtDedicatedRules
