#pragma once

#include <QList>
#include <QPair>
#include <QStringList>

#include <initializer_list>

class KtSNMPRequest2Edits;
class QFormLayout;
class QGridLayout;
class QHBoxLayout;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTreeWidget;
class QVBoxLayout;
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

// The dialog's layout: the returned body, with margins but none below, and
// statusBar (without a size grip) along the bottom edge.
QVBoxLayout *KtBodyOverStatusBar(QWidget *dialog, QStatusBar *statusBar, int bodyStretch = 0);

// A row of buttons at the right.
QHBoxLayout *KtButtonRow(std::initializer_list<QPushButton *> buttons);

// F5 clicks button.
void KtRefreshKey(QWidget *dialog, QPushButton *button);

// The texts of one column of every row listed.
QStringList KtColumnTexts(const QTreeWidget *list, int column);
