#pragma once

#include <QList>
#include <QString>

#include <optional>

class KtSNMPVarList;

// Why a dialog's rules refuse its fields, and the field to put the focus on.
template <class Field>
struct KtRefusal
{
    QString Message;
    Field Focus;
};

// Leaves descriptors out of a set for as long as it lives: their access
// bits are replaced and given back by the destructor, so every path out
// of a write (a thrown failure included) restores them.
class KtAccessOverride
{
public:
    KtAccessOverride(KtSNMPVarList &list, const QList<int> &indexes, quint32 access);
    ~KtAccessOverride();

    KtAccessOverride(const KtAccessOverride &) = delete;
    KtAccessOverride &operator=(const KtAccessOverride &) = delete;

    // Gives the bits back now; the destructor then does nothing.
    void Restore();

private:
    KtSNMPVarList &m_list;
    QList<QPair<int, quint32>> m_saved;
};

// Checks shared by the dedicated dialogs.
namespace KtDedicatedRules {

// A decimal whole number in [min, max], blanks around it allowed; nothing
// else ("0x10", "1e3", "12a", "", out of range) gives no value.
std::optional<qint64> ParseNumber(const QString &text, qint64 min, qint64 max);

// Two texts that name the same number ("03" and "3"); texts that are not
// numbers are compared as they stand.
bool SameNumber(const QString &a, const QString &b);

// True when a set of the list would carry at least one value (a writable
// column, not a table's index, not left out).
bool HasSomethingToSet(const KtSNMPVarList &list);

} // namespace KtDedicatedRules
