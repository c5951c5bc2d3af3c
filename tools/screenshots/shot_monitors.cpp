// The bridge port counter chart and the IP counter monitor after a few
// polls, so that the lines and numbers have moved.

#include "ShotSupport.h"

#include "dialogs/monitors/TIP_Counters.h"
#include "dialogs/monitors/TTpBridgePortInfo_Table.h"

#include <QTabWidget>
#include <QTreeWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!Shot::AimAtAgent(QStringLiteral("boots")))
        return 1;
    const QString host = KtSNMPSession::Device().Host;
    bool ok = true;
    {
        TTpBridgePortInfo_Table bridge(nullptr, {}, host);
        bridge.resize(780, 680);
        bridge.show();
        bridge.findChild<QTabWidget *>()->setCurrentIndex(1);
        Shot::Settle(8500);
        ok &= Shot::Save(&bridge, QStringLiteral("monitors-bridge-chart"));
    }
    {
        TIP_Counters ip(nullptr, {}, host);
        ip.resize(720, 560);
        ip.show();
        Shot::Settle(1500);
        auto *list = ip.findChild<QTreeWidget *>(QStringLiteral("LV_IPCounterData"));
        list->setCurrentItem(list->topLevelItem(0));
        Shot::Settle(5000);
        ok &= Shot::Save(&ip, QStringLiteral("monitors-ip-counters"));
    }
    return ok ? 0 : 1;
}
