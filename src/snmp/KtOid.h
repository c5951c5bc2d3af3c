#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <compare>

// An object identifier as its sub-identifiers, ordered as agents order
// them: component by component, numerically, a prefix before what extends it.
class KtOid
{
public:
    KtOid() = default;
    explicit KtOid(QList<quint32> ids) : m_ids(std::move(ids)) {}

    // Dotted decimal, one leading "." allowed. Anything else (blanks, empty
    // components, sub-identifiers above 4294967295) gives the empty OID and
    // *ok false.
    static KtOid FromText(QStringView text, bool *ok = nullptr);
    QString ToText() const;

    bool IsEmpty() const { return m_ids.isEmpty(); }
    qsizetype Size() const { return m_ids.size(); }
    quint32 At(qsizetype i) const { return m_ids.at(i); }
    const QList<quint32> &Ids() const { return m_ids; }

    // True when prefix is this OID or leads it.
    bool StartsWith(const KtOid &prefix) const;
    // The sub-identifiers from pos on: the instance suffix after a column.
    KtOid Mid(qsizetype pos) const { return KtOid(m_ids.mid(pos)); }

    friend bool operator==(const KtOid &a, const KtOid &b) { return a.m_ids == b.m_ids; }
    friend std::strong_ordering operator<=>(const KtOid &a, const KtOid &b);

private:
    QList<quint32> m_ids;
};
