#pragma once

#include <QDialog>

class QLabel;
class QLayout;
class QPushButton;

// A small form that a list dialog opens modally to add or change a row:
// its fields, a line for the failure of the last write, and its two
// buttons at the bottom right. The list dialog binds the fields and runs
// the first button.
class KtSubForm : public QDialog
{
    Q_OBJECT

public:
    explicit KtSubForm(QWidget *owner);

    // The failure of the last write, while the form stays open.
    QLabel *ResultLabel;

    // Shows text under the fields; an empty text hides the line.
    void ShowFailure(const QString &text);

protected:
    // Lays the form out; the set button is the default, close rejects.
    void Arrange(QLayout *fields, QPushButton *setButton, QPushButton *closeButton);
};
