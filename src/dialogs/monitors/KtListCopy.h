#pragma once

#include <QString>

class QTreeWidget;

// "Copy" for the monitors' lists: the column captions and the rows as
// tab-separated lines, from the context menu or with the copy key.
namespace KtListCopy {

QString Text(const QTreeWidget *list);
void Install(QTreeWidget *list);

} // namespace KtListCopy
