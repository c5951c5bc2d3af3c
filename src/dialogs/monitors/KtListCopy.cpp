#include "dialogs/monitors/KtListCopy.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTreeWidget>

namespace KtListCopy {

QString Text(const QTreeWidget *list)
{
    const int columns = list->columnCount();
    QStringList lines;
    QStringList cells;
    for (int c = 0; c < columns; ++c)
        cells.append(list->headerItem()->text(c));
    lines.append(cells.join(QLatin1Char('\t')));
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        const QTreeWidgetItem *item = list->topLevelItem(r);
        if (item->isHidden())
            continue;
        cells.clear();
        for (int c = 0; c < columns; ++c)
            cells.append(item->text(c));
        lines.append(cells.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void Install(QTreeWidget *list)
{
    auto *copy = new QAction(QObject::tr("&Copy"), list);
    copy->setObjectName(QStringLiteral("CopyAction"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(copy, &QAction::triggered, list,
                     [list] { QGuiApplication::clipboard()->setText(Text(list)); });
    list->addAction(copy);
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
}

} // namespace KtListCopy
