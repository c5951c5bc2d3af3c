#include "dialogs/dedicated/KtDialogParts.h"

#include "dialogs/generic/TListViewPanel.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeWidget>

namespace {

// The caption of buddy, whose mnemonic moves the focus to it.
QLabel *BuddyLabel(QWidget *parent, const char *caption, QWidget *buddy)
{
    auto *label = new QLabel(QString::fromLatin1(caption), parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

QPlainTextEdit *KtStatusMemo(QWidget *parent, int lines)
{
    auto *memo = new QPlainTextEdit(parent);
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->setReadOnly(true);
    memo->setMaximumBlockCount(500);
    memo->setFixedHeight(memo->fontMetrics().lineSpacing() * lines + 10);
    return memo;
}

TListViewPanel *KtListPanel(QWidget *parent, KtSNMPRequest2Edits *binding)
{
    auto *panel = new TListViewPanel(parent, binding);
    panel->ListView->setObjectName(QStringLiteral("ListView1"));
    return panel;
}

QFormLayout *KtFormRows(QWidget *parent, std::initializer_list<KtFormRow> rows)
{
    auto *form = new QFormLayout;
    for (const KtFormRow &row : rows) {
        row.widget->setObjectName(QString::fromLatin1(row.name));
        form->addRow(BuddyLabel(parent, row.label, row.widget), row.widget);
    }
    return form;
}

void KtGridRows(QGridLayout *grid, QWidget *parent, const QList<QPair<const char *, QWidget *>> &rows, int minWidth,
                int column)
{
    for (int r = 0; r < rows.size(); ++r) {
        QWidget *control = rows.at(r).second;
        control->setMinimumWidth(minWidth);
        grid->addWidget(BuddyLabel(parent, rows.at(r).first, control), r, column);
        grid->addWidget(control, r, column + 1);
    }
}
