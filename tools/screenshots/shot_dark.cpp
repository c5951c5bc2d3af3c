// The bridge port chart and a configuration dialog under a dark desktop
// palette (Fusion), as on a dark desktop theme.

#include "ShotSupport.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/TConfigForm.h"
#include "dialogs/monitors/TTpBridgePortInfo_Table.h"
#include "mib/KtMibData.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"

#include <QStyleFactory>
#include <QTabWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette dark(QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
    dark.setColor(QPalette::WindowText, QColor(0xf0, 0xf0, 0xf0));
    dark.setColor(QPalette::ButtonText, QColor(0xf0, 0xf0, 0xf0));
    dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    QApplication::setPalette(dark);
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
        ok &= Shot::Save(&bridge, QStringLiteral("dark-bridge-chart"));
    }
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
