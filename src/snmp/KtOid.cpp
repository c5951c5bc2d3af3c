#include "snmp/KtOid.h"

#include "values/KtValueText.h"

#include <algorithm>

KtOid KtOid::FromText(QStringView text, bool *ok)
{
    if (ok)
        *ok = false;
    if (text.startsWith(u'.'))
        text = text.mid(1);
    QList<quint32> ids;
    quint64 value = 0;
    bool digits = false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= '0' && u <= '9') {
            value = value * 10 + (u - '0');
            if (value > 0xFFFFFFFFull)
                return {};
            digits = true;
        } else if (u == '.' && digits) {
            ids.append(quint32(value));
            value = 0;
            digits = false;
        } else {
            return {};
        }
    }
    if (!digits)
        return {};
    ids.append(quint32(value));
    if (ok)
        *ok = true;
    return KtOid(std::move(ids));
}

QString KtOid::ToText() const
{
    return KtValue::OidToText(m_ids);
}

bool KtOid::StartsWith(const KtOid &prefix) const
{
    return prefix.m_ids.size() <= m_ids.size()
        && std::equal(prefix.m_ids.begin(), prefix.m_ids.end(), m_ids.begin());
}

std::strong_ordering operator<=>(const KtOid &a, const KtOid &b)
{
    return std::lexicographical_compare_three_way(a.m_ids.begin(), a.m_ids.end(), b.m_ids.begin(),
                                                  b.m_ids.end());
}
