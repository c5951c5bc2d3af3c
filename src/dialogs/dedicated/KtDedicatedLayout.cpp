#include "dialogs/dedicated/KtDedicatedLayout.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>

namespace KtDedicatedLayout {

void AddLabelledRows(QGridLayout *grid, QWidget *owner, const QList<QPair<const char *, QWidget *>> &rows,
                     int minWidth, int column)
{
    for (int r = 0; r < rows.size(); ++r) {
        auto *label = new QLabel(QString::fromLatin1(rows.at(r).first), owner);
        label->setBuddy(rows.at(r).second);
        rows.at(r).second->setMinimumWidth(minWidth);
        grid->addWidget(label, r, column);
        grid->addWidget(rows.at(r).second, r, column + 1);
    }
}

QPlainTextEdit *NewStatusMemo(QWidget *owner)
{
    auto *memo = new QPlainTextEdit(owner);
    memo->setReadOnly(true);
    memo->setFixedHeight(60);
    return memo;
}

} // namespace KtDedicatedLayout
