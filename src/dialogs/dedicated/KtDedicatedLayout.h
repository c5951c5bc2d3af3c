#pragma once

#include <QList>
#include <QPair>

class QGridLayout;
class QPlainTextEdit;
class QWidget;

// Pieces of layout the dedicated dialogs share.
namespace KtDedicatedLayout {

// One grid row per control: its label (caption with mnemonic, the label's
// buddy) in column, the control right of it at least minWidth wide.
void AddLabelledRows(QGridLayout *grid, QWidget *owner, const QList<QPair<const char *, QWidget *>> &rows,
                     int minWidth, int column = 0);

// The read-only memo that takes a dialog's status lines.
QPlainTextEdit *NewStatusMemo(QWidget *owner);

} // namespace KtDedicatedLayout
