#include "dialogs/monitors/TIP_Counters.h"

TIP_Counters::TIP_Counters(QWidget *parent, const QString &prefix, const QString &host)
    : KtProtocolMonitor(parent, Definition(), prefix, host)
{
}

KtProtocolMonitor::Family TIP_Counters::Definition()
{
    Family f;
    f.caption = QStringLiteral("IP Counters : ");
    f.table = QStringLiteral("IPCounters");
    f.listName = QStringLiteral("LV_IPCounterData");
    f.hiddenName = QStringLiteral("LV_IPCounters");
    f.sampleOnOpen = false;
    f.runningBeforeRead = false;
    f.rowNames = QStringLiteral(
        "ipInReceives ipInHdrErrors ipInAddrErrors ipForwDatagrams ipInUnknownProtols "
        "ipInDiscards ipInDelivers ipOutRequests ipOutDiscards ipOutNoRoutes"
    ).split(QLatin1Char(' '));
    return f;
}
