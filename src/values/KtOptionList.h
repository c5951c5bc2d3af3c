#pragma once

#include <QList>
#include <QString>

// One value/label pair of a static option table. Kind 1 uses Value,
// kinds 2 and 3 use Text.
struct KtOptionEntry
{
    qint32 Value = 0;
    QString Text;
    QString Label;
};

// A static option table; an entry with a null Label ends it early.
using KtOptionTable = QList<KtOptionEntry>;

// Maps the coded values of an enumerated variable to the labels shown.
class KtOptionList
{
public:
    enum Kind : unsigned { IntegerValues = 1, TextValues = 2, PrefixValues = 3 };

    explicit KtOptionList(const KtOptionTable &table = {}, unsigned kind = IntegerValues,
                          bool caseSensitive = false);

    void Append(const KtOptionTable &table);

    unsigned kind() const { return m_kind; }
    bool caseSensitive() const { return m_caseSensitive; }
    int count() const { return int(m_entries.size()); }
    const KtOptionEntry &Get(int index) const { return m_entries.at(index); }
    const KtOptionTable &entries() const { return m_entries; }

    int IndexOfLabel(const QString &text) const;
    int IndexOfValue(const QString &text) const;
    QString ValueToLabel(const QString &text) const;
    QString LabelToValue(const QString &text) const;

    // Value of entry i as text (decimal for kind 1).
    QString ValueText(int index) const;

    bool operator==(const KtOptionList &other) const;

private:
    bool same(const QString &a, const QString &b) const;
    bool startsWith(const QString &text, const QString &prefix) const;

    unsigned m_kind;
    bool m_caseSensitive;
    KtOptionTable m_entries;
};

// Process-wide built-in lists.
namespace KtOptionLists {
const KtOptionList &ListKinds();      // 0 "SVT_SV" .. 3 "MVT_UMV"
const KtOptionList &ValueTypes();     // 2 "integer" .. 77 "ipv6address"
const KtOptionList &AccessTypes();    // 1 "notaccess" .. 32 "invalid"
const KtOptionList &DisabledEnabled();
const KtOptionList &RowStatusShort();
const KtOptionList &RowStatusFull();
const KtOptionList &TruthValue();
const KtOptionList &StorageType();
const KtOptionList &AuthProtocols();  // kind 2
const KtOptionList &PrivProtocols();  // kind 2
} // namespace KtOptionLists
