#pragma once

#include <QList>
#include <QString>

class KtMenuCatalogue;
class KtMibData;
struct KtMenuPanel;

// One descriptor table that holds rows of a front port, and how the port
// appears in it: as one of the row's index columns, or as a bit in the
// port-list columns of every row (a scalar group's one instance too).
struct KtPortTable
{
    enum Kind { Index, Bitmap };
    // How the switch numbers the port in an index column.
    enum Numbering { Port, IfIndex, BridgePort };

    QString table;           // descriptor table name
    QString entry;           // component name of the catalogue entry that shows it
    Kind kind = Index;
    int indexCount = 0;      // index columns of a row, as the entry's panel gives them
    int indexColumn = 0;     // Index: the column holding the port's number
    Numbering numbering = Port;
    QList<int> columns;      // Bitmap: the port-list columns
    int line = 0;            // in the data file; not compared

    bool operator==(const KtPortTable &other) const
    {
        return table == other.table && entry == other.entry && kind == other.kind && indexCount == other.indexCount
            && indexColumn == other.indexColumn && numbering == other.numbering && columns == other.columns;
    }
};

// The port tables as data: one line a table in porttables.txt (a resource
// of this library), checked against what the descriptor tables and the
// catalogue say (Derive).
namespace KtPortTables {

QString ResourcePath();

// The built-in list, loaded on first use; raises KtException on bad data.
const QList<KtPortTable> &Instance();

// -501 when the file cannot be read, -502 for a malformed line (file and
// line named in the message).
QList<KtPortTable> Load(const QString &path);
QList<KtPortTable> Parse(const QString &text, const QString &fileName);

// A table's line as the data file writes it.
QString Line(const KtPortTable &table);

// The port tables the data implies, in menu order: the first panel that
// shows a table decides. A row belongs to a port when an index column is
// the interface or bridge port number, or its label names a port (and no
// group, VLAN or profile); otherwise when the panel tailors columns after
// the index as port lists.
QList<KtPortTable> Derive(const KtMibData &mib, const KtMenuCatalogue &catalogue);

// The panel of the table's entry that shows it; null when there is none.
const KtMenuPanel *Panel(const KtPortTable &table, const KtMenuCatalogue &catalogue);
// The section title: the page's caption in a paged dialog, else the entry's.
QString Caption(const KtPortTable &table, const KtMenuCatalogue &catalogue);

// The number the table uses for a front port.
int Number(const KtPortTable &table, int port);

} // namespace KtPortTables
