#pragma once

#include "snmp/KtSNMPVar.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class KtOptionList;

// The module's MIB vocabulary: named static descriptor tables and the
// option lists their records share. Built once from a data file (the
// built-in one is a resource) and read-only afterwards; records point into
// option lists owned here, so the object moves but never copies.
class KtMibData
{
public:
    struct Table
    {
        QString Name;
        QStringList Roots;      // full dotted OIDs, first one resolves ".n" records
        QStringList MenuPaths;  // from the header comment, split at " | "
        int Line = 0;           // header line in the data file
        KtSNMPVarTable Vars;
    };

    KtMibData();
    KtMibData(KtMibData &&) noexcept;
    KtMibData &operator=(KtMibData &&) noexcept;
    KtMibData(const KtMibData &) = delete;
    KtMibData &operator=(const KtMibData &) = delete;
    ~KtMibData();

    // The built-in tables, loaded on first use (thread-safe).
    static const KtMibData &Instance();
    static QString BuiltInPath();

    // Both raise KtException -501..-505 with file name and line filled in.
    static KtMibData Parse(const QByteArray &text, const QString &fileName);
    static KtMibData Load(const QString &path);

    const KtSNMPVarTable *FindTable(const QString &name) const;
    const Table *FindTableInfo(const QString &name) const;
    QStringList TableNames() const;  // in file order
    QStringList Roots(const QString &name) const;
    QStringList MenuPaths(const QString &name) const;
    const QList<Table> &Tables() const { return m_tables; }

    // A list defined by an "options" line, or null.
    const KtOptionList *FindOptions(const QString &name) const;

    int TableCount() const { return int(m_tables.size()); }
    int RecordCount() const;
    int OptionListCount() const { return int(m_options.size()); }

private:
    friend class KtMibParser;

    QList<Table> m_tables;
    QHash<QString, int> m_tableIndex;
    std::vector<std::unique_ptr<KtOptionList>> m_options;
    QHash<QString, const KtOptionList *> m_namedOptions;
};
