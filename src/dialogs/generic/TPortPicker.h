#pragma once

#include <QDialog>
#include <QList>

class QCheckBox;
class QLabel;
class QPushButton;

// A grid of numbered check boxes, one per port, perRow to a line: box n
// (shown as n + 1) stands for bit n of a port-list value. Without write
// access the boxes are disabled and only OK is offered.
class TPortPicker : public QDialog
{
    Q_OBJECT

public:
    TPortPicker(QWidget *owner, const QString &caption, int perRow, int count, bool writable);

    QList<QCheckBox *> Boxes;
    QList<QLabel *> Numbers;
    QPushButton *OkButton;
    QPushButton *CancelButton;
    QPushButton *CheckAllButton;
    QPushButton *ClearChecksButton;

    void CheckAll();
    void ClearChecks();
};
