#include "dialogs/monitors/TUDP_Counters.h"

TUDP_Counters::TUDP_Counters(QWidget *parent, const QString &prefix, const QString &host)
    : KtProtocolMonitor(parent, Definition(), prefix, host)
{
}

KtProtocolMonitor::Family TUDP_Counters::Definition()
{
    Family f;
    f.caption = QStringLiteral("UDP Counters : ");
    f.table = QStringLiteral("UDPCounters");
    f.listName = QStringLiteral("LV_IPCounterData");
    f.hiddenName = QStringLiteral("LV_UDPCounters");
    f.sampleOnOpen = true;
    f.runningBeforeRead = false;
    f.rowNames = QStringLiteral(
        "udpInDatagrams udpNoPorts udpInErrors udpOutDatagramsms"
    ).split(QLatin1Char(' '));
    return f;
}
