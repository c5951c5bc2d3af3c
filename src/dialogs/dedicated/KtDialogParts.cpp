#include "dialogs/dedicated/KtDialogParts.h"

#include "dialogs/generic/TListViewPanel.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

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

QVBoxLayout *KtBodyOverStatusBar(QWidget *dialog, QStatusBar *statusBar, int bodyStretch)
{
    statusBar->setSizeGripEnabled(false);
    auto *layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(9, 9, 9, 0);
    layout->addLayout(body, bodyStretch);
    layout->addWidget(statusBar);
    return body;
}

QHBoxLayout *KtButtonRow(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : buttons)
        row->addWidget(b);
    return row;
}

void KtRefreshKey(QWidget *dialog, QPushButton *button)
{
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_F5), dialog), &QShortcut::activated, button,
                     &QPushButton::click);
}

QStringList KtColumnTexts(const QTreeWidget *list, int column)
{
    QStringList texts;
    for (int r = 0; r < list->topLevelItemCount(); ++r)
        texts.append(list->topLevelItem(r)->text(column));
    return texts;
}
