#pragma once

#include <QList>
#include <QString>

class KtSnapshot;
struct KtSnapshotColumn;
struct KtVarBind;

// One way in which the switch differs from a snapshot.
struct KtSnapshotDifference
{
    enum Kind { Changed, OnlyInSnapshot, OnlyOnSwitch, AbsentOnSwitch, AbsentInSnapshot };

    Kind kind = Changed;
    QString menuPath;
    QString group;    // descriptor table name
    QString root;
    QString row;      // instance suffix of a table row; empty for scalars and whole groups
    QString object;   // label of a changed object
    QString oid;      // full instance OID of a changed object
    QString before;   // in the snapshot, as shown to the operator
    QString after;    // on the switch

    static QString KindText(Kind kind);
    // "menu path | table | row | what: before -> after", one line.
    QString toLine() const;
};

// Compares a snapshot with the switch's present state (another snapshot,
// just read), by what the values mean rather than by their octets.
class KtSnapshotCompare
{
public:
    // Grouped by menu path and table, in the order of the schema.
    static QList<KtSnapshotDifference> Compare(const KtSnapshot &snapshot, const KtSnapshot &live);
    // The operator's form of a value: enumeration labels, dotted addresses,
    // port lists as port numbers.
    static QString Meaning(const KtVarBind &vb, const KtSnapshotColumn &column);
    // Comma-separated, one difference a line, with a header line.
    static QString ToCsv(const QList<KtSnapshotDifference> &differences);
};
