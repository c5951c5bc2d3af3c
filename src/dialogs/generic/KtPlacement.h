#pragma once

class QWidget;

// Where the generic dialogs appear.
namespace KtPlacement {

// The program's main window (the first visible QMainWindow), or null.
QWidget *MainWindow();

// Moves window so that its centre is over the centre of over; nothing
// happens without over.
void CentreOn(QWidget *window, const QWidget *over);

} // namespace KtPlacement
