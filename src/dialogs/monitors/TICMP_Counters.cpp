#include "dialogs/monitors/TICMP_Counters.h"

TICMP_Counters::TICMP_Counters(QWidget *parent, const QString &prefix, const QString &host)
    : KtProtocolMonitor(parent, Definition(), prefix, host)
{
}

KtProtocolMonitor::Family TICMP_Counters::Definition()
{
    Family f;
    f.caption = QStringLiteral("ICMP Counters : ");
    f.table = QStringLiteral("ICMPCounters");
    f.listName = QStringLiteral("LV_ICMPCounterData");
    f.hiddenName = QStringLiteral("LV_ICMPCounters");
    f.sampleOnOpen = true;
    f.runningBeforeRead = true;
    f.rowNames = QStringLiteral(
        "icmpInMsgs icmpInErrors icmpInDestUnreachs icmpInTimeExcdsms icmpInParmProbs "
        "icmpInSrcQuenchs icmpInRedirects icmpInEchos icmpInEchoReps icmpInTimestamps "
        "icmpInTimestampReps icmpInAddrMasks icmpInAddrMaskReps icmpOutMsgs icmpOutErrors "
        "icmpOutDestUnreachs icmpOutTimeExcds icmpOutParmProbs icmpOutSrcQuenchs "
        "icmpOutRedirects icmpOutEchos icmpOutEchoReps icmpOutTimestamps "
        "icmpOutTimestampReps icmpOutAddrMasks icmpOutAddrMaskReps"
    ).split(QLatin1Char(' '));
    return f;
}
