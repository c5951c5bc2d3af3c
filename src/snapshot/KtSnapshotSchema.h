#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class KtOptionList;

// One object a snapshot holds: a writable scalar, a table's readable index
// column, its row status or one of its writable columns.
struct KtSnapshotColumn
{
    QString oid;     // without instance
    QString label;
    quint32 type = 0;
    const KtOptionList *options = nullptr;
    bool index = false;   // part of the row's index: kept, never written
    bool status = false;  // the row's status column
};

// A scalar group or a table of the descriptor tables, once however many
// menus show it, with the objects a backup walks.
struct KtSnapshotGroup
{
    QString name;        // descriptor table name (the first one when several share the root)
    QString menuPath;    // first menu path that shows it
    QString root;        // scalar group or table entry
    bool table = false;
    int indexCount = 0;
    QList<KtSnapshotColumn> columns;  // index columns first in a table
    // Row creation and removal through the status column.
    bool rowStatus = false;        // RowStatus (active/createAndGo/createAndWait/destroy)
    bool createAndGo = false;      // its option list offers createAndGo
    qint32 createValue = 0;        // valid/invalid and add/delete style status columns
    qint32 removeValue = 0;
    // Objects of the SNMP engine's own security tables: kept out of
    // snapshots (they carry secrets) and never written back.
    bool engineSecurity = false;

    int statusColumn() const;
    bool hasStatus() const { return statusColumn() >= 0; }
    const KtSnapshotColumn *column(const QString &oid) const;
};

// The groups a snapshot covers, built from the descriptor tables and the
// menu catalogue (which says which tables are tables and their index count).
class KtSnapshotSchema
{
public:
    // The built-in descriptor tables and catalogue; raises KtException on bad data.
    static const KtSnapshotSchema &Instance();

    const QList<KtSnapshotGroup> &groups() const { return m_groups; }
    const KtSnapshotGroup *findGroup(const QString &root) const;
    // The group and column of a full instance OID; null when none holds it.
    const KtSnapshotGroup *groupOf(const QString &instance, const KtSnapshotColumn **column = nullptr,
                                   QString *suffix = nullptr) const;
    int objectCount() const;

    // A menu path as the descriptor data gives it, a dialog page as its last step.
    static QString MenuPath(const QString &described);

    // Whether an OID lies in the USM, VACM or community tables.
    static bool IsEngineSecurity(const QString &oid);

private:
    QList<KtSnapshotGroup> m_groups;
};
