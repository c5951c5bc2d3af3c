#include "dialogs/dedicated/KtDialogParts.h"

#include "dialogs/generic/TListViewPanel.h"

#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeWidget>

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
        auto *label = new QLabel(QString::fromLatin1(row.label), parent);
        label->setBuddy(row.widget);
        form->addRow(label, row.widget);
    }
    return form;
}
