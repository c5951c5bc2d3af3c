#include "dialogs/generic/KtPlacement.h"

#include <QApplication>
#include <QMainWindow>

namespace KtPlacement {

QWidget *MainWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow *>(w) && w->isVisible())
            return w;
    return nullptr;
}

void CentreOn(QWidget *window, const QWidget *over)
{
    if (!window || !over || window == over)
        return;
    const QRect target = over->isWindow() ? over->frameGeometry() : QRect(over->mapToGlobal(QPoint()), over->size());
    QRect frame = window->frameGeometry();
    frame.moveCenter(target.center());
    window->move(frame.topLeft());
}

} // namespace KtPlacement
