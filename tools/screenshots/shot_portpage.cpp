// The port page of port 7 once every section has been read: its top, and
// further down the bridge port's section (values to edit) followed by the
// port's membership in each VLAN's port lists.

#include "ShotSupport.h"

#include "ports/widgets/TPortPageForm.h"
#include "ports/widgets/TPortSection.h"

#include <QElapsedTimer>
#include <QScrollArea>
#include <QScrollBar>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!Shot::AimAtAgent(QStringLiteral("boots")))
        return 1;
    TPortPageForm page(7, KtSNMPSession::Device().Host);
    page.resize(820, 900);
    page.show();
    QElapsedTimer clock;
    clock.start();
    do
        Shot::Settle(100);
    while (!page.Idle() && clock.elapsed() < 120000);
    if (!page.Idle()) {
        std::fprintf(stderr, "the port page did not finish reading\n");
        return 1;
    }
    Shot::Settle(200);
    if (!Shot::Save(&page, QStringLiteral("portpage")))
        return 1;
    TPortSection *bridgePort = page.FindSection(QStringLiteral("PortsInformation"));
    auto *scroll = page.findChild<QScrollArea *>();
    if (!bridgePort || !scroll) {
        std::fprintf(stderr, "no bridge port section\n");
        return 1;
    }
    scroll->verticalScrollBar()->setValue(bridgePort->mapTo(scroll->widget(), QPoint()).y());
    Shot::Settle(200);
    return Shot::Save(&page, QStringLiteral("portpage-vlans")) ? 0 : 1;
}
