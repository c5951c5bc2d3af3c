#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Text rules of the table panel, kept free of widgets: the natural order
// of a column, the tab-separated and CSV forms of rows, and the row hint.
namespace KtTableText {

// How the texts of one column compare. Chosen once per column so that a
// sort always sees one consistent order.
enum class Order {
    Number,   // every text a decimal number (sign, digits, optional fraction)
    Hex,      // every text hex digits of one length (octet strings, MAC addresses)
    Natural,  // runs of digits by value, everything else as text; dotted addresses and OIDs too
};

// Texts that stand for no value; they sort before every value.
bool IsPlaceholder(const QString &text);

Order ColumnOrder(const QStringList &texts);

// Negative, zero or positive as a is before, level with or after b.
int Compare(const QString &a, const QString &b, Order order);

// Row positions in sorted order; rows that compare equal keep their order.
QList<int> SortedPositions(const QStringList &texts, bool descending);

// Fields separated by tabs, rows by line feeds; a tab or line break inside
// a field becomes a blank so that the shape survives pasting.
QString TabText(const QList<QStringList> &rows);

// RFC 4180: fields with a comma, quote or line break are quoted (quotes
// doubled); every record ends with CR LF.
QString CsvField(const QString &field);
QString CsvText(const QList<QStringList> &rows);

// One line per column: caption, as many tabs as it is shorter than the
// longest caption, two blanks, the row's text, a line feed.
QString RowHint(const QStringList &captions, const QStringList &texts);

} // namespace KtTableText
