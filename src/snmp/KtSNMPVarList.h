#pragma once

#include "snmp/KtSNMPVar.h"

#include <QList>
#include <QString>
#include <memory>
#include <vector>

class KtOptionList;

// An owned, ordered list of variable descriptors with the list's kind,
// index count, instance suffix and caption.
class KtSNMPVarList
{
public:
    KtSNMPVarList();
    KtSNMPVarList(const KtSNMPVarTable &table, quint8 kind, int indexCount);
    KtSNMPVarList(const KtSNMPVarList &other);  // deep copy; Suffix starts empty
    KtSNMPVarList &operator=(const KtSNMPVarList &other);  // as Assign
    // Moving takes everything, the Suffix too; move-assigning keeps the own Suffix
    // like Assign. Option lists keep their addresses, so descriptors stay valid.
    KtSNMPVarList(KtSNMPVarList &&other) noexcept;
    KtSNMPVarList &operator=(KtSNMPVarList &&other) noexcept;
    ~KtSNMPVarList();

    void AppendTable(const KtSNMPVarTable &table);
    // Takes ownership of options (may be null). Empty expressions are stored as null.
    void AppendVar(const QString &oid, const QString &label, quint32 type, quint32 access,
                   std::unique_ptr<KtOptionList> options = {}, const QString &readExpr = {},
                   const QString &writeExpr = {}, const QString &extraExpr = {});
    // Same, with a shared option list that the list does not own.
    void AppendVarShared(const QString &oid, const QString &label, quint32 type, quint32 access,
                         const KtOptionList *options, const QString &readExpr = {},
                         const QString &writeExpr = {}, const QString &extraExpr = {});
    void AppendSuffix(const QString &text);
    void Assign(const KtSNMPVarList &other);

    int Count() const { return int(m_vars.size()); }
    KtSNMPVar &Get(int i) { return m_vars[i]; }
    const KtSNMPVar &Get(int i) const { return m_vars.at(i); }

    bool IsImplied(int i) const;
    bool IsReadable(int i) const;
    bool IsWritable(int i) const;
    bool IsShown(int i) const;
    bool IsHidden(int i) const;
    int CountShown() const;
    int CountHidden() const;

    // Instance suffix of a row from the index columns' value texts.
    QString EncodeIndexSuffix() const;
    // Fills the index columns from an instance suffix; -514 when too short.
    void DecodeIndexSuffix(const QString &suffix);

    QString Suffix;
    int IndexCount = 0;
    quint8 Kind = 0;
    QString DisplayName;

private:
    void copyFrom(const KtSNMPVarList &other);

    QList<KtSNMPVar> m_vars;
    std::vector<std::unique_ptr<KtOptionList>> m_ownedOptions;
};
