#pragma once

#include <QList>
#include <QPair>

#include <initializer_list>

class KtSNMPRequest2Edits;
class QFormLayout;
class QGridLayout;
class QPlainTextEdit;
class QWidget;
class TListViewPanel;

// Pieces that several dedicated dialogs are built from.

// The status memo "Memo1": read only, lines high, the last 500 lines kept.
QPlainTextEdit *KtStatusMemo(QWidget *parent, int lines);

// The table panel of binding, its list view named "ListView1".
TListViewPanel *KtListPanel(QWidget *parent, KtSNMPRequest2Edits *binding);

// One field of a form: the widget, its object name and its label text
// (with the mnemonic, which goes to the widget).
struct KtFormRow
{
    QWidget *widget;
    const char *name;
    const char *label;
};

// A form layout of the rows, in their order.
QFormLayout *KtFormRows(QWidget *parent, std::initializer_list<KtFormRow> rows);

// One grid row per control: its label (caption with mnemonic, the label's
// buddy) in column, the control right of it at least minWidth wide.
void KtGridRows(QGridLayout *grid, QWidget *parent, const QList<QPair<const char *, QWidget *>> &rows, int minWidth,
                int column = 0);
