#include "dialogs/monitors/TSNMP_Counters.h"

TSNMP_Counters::TSNMP_Counters(QWidget *parent, const QString &prefix, const QString &host)
    : KtProtocolMonitor(parent, Definition(), prefix, host)
{
}

KtProtocolMonitor::Family TSNMP_Counters::Definition()
{
    Family f;
    f.caption = QStringLiteral("SNMP Counters : ");
    f.table = QStringLiteral("SNMPCounters");
    f.listName = QStringLiteral("LV_SNMPCounterData");
    f.hiddenName = QStringLiteral("LV_SNMPCounters");
    f.sampleOnOpen = true;
    f.runningBeforeRead = true;
    f.rowNames = QStringLiteral(
        "snmpInPkts snmpOutPkts snmpInBadVersions snmpInBadCommunityNames "
        "snmpInBadCommunityUses snmpInASNParseErrs snmpInTooBigs snmpInNoSuchNames "
        "snmpInBadValues snmpInReadOnlys snmpInGenErrs snmpInTotalReqVars "
        "snmpInTotalSetVars snmpInGetRequests snmpInGetNexts snmpInSetRequests "
        "snmpInGetResponses snmpInTraps snmpOutTooBigs snmpOutNoSuchNames "
        "snmpOutBadValues snmpOutGenErrs snmpOutGetRequests snmpOutGetNexts "
        "snmpOutSetRequests snmpOutGetResponses snmpOutTraps"
    ).split(QLatin1Char(' '));
    return f;
}
