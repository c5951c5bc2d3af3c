#include "snmp/KtNetSnmpVersion.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/version.h>

QString KtNetSnmpVersion()
{
    return QString::fromLatin1(netsnmp_get_version());
}
