// The main window with a menu and its submenu open, and "Find entry" narrowed by a few words.

#include "ShotSupport.h"

#include "shell/TFindEntryDialog.h"
#include "shell/TMainForm.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>

namespace {

// Popups are windows of their own: paint them over the main window where they stand.
bool saveComposite(TMainForm &form, const QList<QMenu *> &menus, const QString &name)
{
    QRect area = form.geometry();
    for (QMenu *m : menus)
        area = area.united(m->geometry());
    const qreal ratio = form.devicePixelRatioF();
    QPixmap canvas(area.size() * ratio);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(form.palette().color(QPalette::Window));
    QPainter painter(&canvas);
    painter.drawPixmap(form.geometry().topLeft() - area.topLeft(), form.grab());
    for (QMenu *m : menus)
        painter.drawPixmap(m->geometry().topLeft() - area.topLeft(), m->grab());
    painter.end();
    const QString path = QDir(Shot::OutputDir()).filePath(name + QStringLiteral(".png"));
    const bool ok = canvas.save(path);
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!Shot::AimAtAgent(QStringLiteral("boots")))
        return 1;
    TMainForm form;
    if (!form.FormCreate({QStringLiteral("/I") + KtSNMPSession::Device().Host,
                          QStringLiteral("/t%1").arg(KtSNMPSession::Device().AgentPort)},
                         QApplication::applicationDirPath()))
        return 1;
    form.move(0, 0);
    form.show();
    Shot::Settle(1500);

    auto *vlan = form.menuBar()->findChild<QMenu *>(QStringLiteral("BasicConfiguration1"));
    auto *q = vlan ? vlan->findChild<QMenu *>(QStringLiteral("LinkAggregation1")) : nullptr;
    if (!vlan || !q) {
        std::fprintf(stderr, "no Basic Configuration > Link Aggregation menu\n");
        return 1;
    }
    const QRect title = form.menuBar()->actionGeometry(vlan->menuAction());
    vlan->popup(form.menuBar()->mapToGlobal(title.bottomLeft()));
    vlan->setActiveAction(q->menuAction());
    q->popup(vlan->mapToGlobal(vlan->actionGeometry(q->menuAction()).topRight()));
    q->setActiveAction(q->actions().value(0));
    Shot::Settle(300);
    bool ok = saveComposite(form, {vlan, q}, QStringLiteral("menu"));
    q->close();
    vlan->close();

    TFindEntryDialog find(form.FindableEntries(), &form);
    find.show();
    find.FilterEdit->setText(QStringLiteral("port table"));
    Shot::Settle(200);
    ok = Shot::Save(&find, QStringLiteral("menu_find")) && ok;
    return ok ? 0 : 1;
}
