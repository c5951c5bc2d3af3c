#include "dialogs/generic/TPortPicker.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TPortPicker::TPortPicker(QWidget *owner, const QString &caption, int perRow, int count, bool writable)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(caption);
    perRow = qMax(1, perRow);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(0);
    for (int n = 0; n < count; ++n) {
        const int r = n / perRow, c = n % perRow;
        auto *number = new QLabel(QString::number(n + 1), this);
        number->setAlignment(Qt::AlignCenter);
        auto *box = new QCheckBox(this);
        box->setFixedWidth(20);
        box->setFocusPolicy(Qt::NoFocus);
        box->setEnabled(writable);
        box->setToolTip(tr("Port %1").arg(n + 1));
        grid->addWidget(number, 2 * r, c, Qt::AlignHCenter | Qt::AlignBottom);
        grid->addWidget(box, 2 * r + 1, c, Qt::AlignHCenter | Qt::AlignTop);
        if (r > 0 && c == 0)
            grid->setRowMinimumHeight(2 * r, number->sizeHint().height() + 4);
        Numbers.append(number);
        Boxes.append(box);
    }
    layout->addLayout(grid);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    OkButton = new QPushButton(tr("&OK"), this);
    CancelButton = new QPushButton(tr("&Cancel"), this);
    CheckAllButton = new QPushButton(tr("Check A&ll"), this);
    ClearChecksButton = new QPushButton(tr("Clear Chec&ks"), this);
    for (QPushButton *b : {OkButton, CancelButton, CheckAllButton, ClearChecksButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    OkButton->setDefault(true);
    layout->addLayout(buttons);
    if (!writable) {
        CancelButton->hide();
        CheckAllButton->hide();
        ClearChecksButton->hide();
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(CheckAllButton, &QPushButton::clicked, this, &TPortPicker::CheckAll);
    connect(ClearChecksButton, &QPushButton::clicked, this, &TPortPicker::ClearChecks);
}

void TPortPicker::CheckAll()
{
    for (QCheckBox *box : Boxes)
        box->setChecked(true);
}

void TPortPicker::ClearChecks()
{
    for (QCheckBox *box : Boxes)
        box->setChecked(false);
}
