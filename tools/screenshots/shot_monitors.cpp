// The bridge port counter chart and the IP counter monitor after a few
// polls, so that the lines and numbers have moved; then the chart and a
// configuration dialog again under a dark palette (Fusion).

#include "ShotSupport.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/TConfigForm.h"
#include "dialogs/monitors/TIP_Counters.h"
#include "dialogs/monitors/TTpBridgePortInfo_Table.h"
#include "mib/KtMibData.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"

#include <QStyleFactory>

#include <QTabWidget>
#include <QTreeWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!Shot::AimAtAgent(QStringLiteral("boots")))
        return 1;
    const QString host = KtSNMPSession::Device().Host;
    bool ok = true;
    const auto bridgeChart = [&](const QString &name) {
        TTpBridgePortInfo_Table bridge(nullptr, {}, host);
        bridge.resize(780, 680);
        bridge.show();
        bridge.findChild<QTabWidget *>()->setCurrentIndex(1);
        Shot::Settle(8500);
        ok &= Shot::Save(&bridge, name);
    };
    bridgeChart(QStringLiteral("monitors-bridge-chart"));
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

    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette dark(QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
    dark.setColor(QPalette::WindowText, QColor(0xf0, 0xf0, 0xf0));
    dark.setColor(QPalette::ButtonText, QColor(0xf0, 0xf0, 0xf0));
    dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    QApplication::setPalette(dark);
    bridgeChart(QStringLiteral("dark-bridge-chart"));
    {
        TConfigForm form;
        form.setWindowTitle(QStringLiteral("MIB-II Information : ") + host);
        auto *binding = new KtSNMPRequest2Edits(&form);
        binding->Request.Vars =
            KtSNMPVarList(*KtMibData::Instance().FindTable(QStringLiteral("MIBIIInformation")), KtKind::SVT_SV, 0);
        form.SetEditorPanel(binding);
        form.show();
        Shot::Settle(2500);
        ok &= Shot::Save(&form, QStringLiteral("dark-generic-editor"));
        form.reject();
    }
    return ok ? 0 : 1;
}
