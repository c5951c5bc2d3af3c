#include "dialogs/monitors/KtMonitorTables.h"

#include "errors/KtException.h"
#include "mib/KtMibData.h"

namespace {

const char kTables[] = R"(
table UDPCounters 1.3.6.1.2.1.7
  .1 "In Datagrams" counter readonly
  .2 "No Ports" counter readonly
  .3 "In Errors" counter readonly
  .4 "Out Datagrams" counter readonly
  .5 "Table" bitstr notaccess

table IPCounters 1.3.6.1.2.1.4
  .3 "In Receives" counter readonly
  .4 "In Hdr Errors" counter readonly
  .5 "In Addr Errors" counter readonly
  .6 "Forw Datagrams" counter readonly
  .7 "In Unknown Protos" counter readonly
  .8 "In Discards" counter readonly
  .9 "In Delivers" counter readonly
  .10 "Out Requests" counter readonly
  .11 "Out Discards" counter readonly
  .12 "Out No Routes" counter readonly
  .14 "Reasm Reqds" counter readonly
  .15 "Reasm OKs" counter readonly
  .16 "Reasm Fails" counter readonly
  .17 "Frag OKs" counter readonly
  .18 "Frag Fails" counter readonly
  .19 "Frag Creates" counter readonly
  .23 "Routing Discards" counter readonly

table ICMPCounters 1.3.6.1.2.1.5
  .1 "In Msgs" counter readonly
  .2 "In Errors" counter readonly
  .3 "In Dest Unreachs" counter readonly
  .4 "In Time Excds" counter readonly
  .5 "In Parm Probs" counter readonly
  .6 "In Src Quenchs" counter readonly
  .7 "In Redirects" counter readonly
  .8 "In Echos" counter readonly
  .9 "In Echo Reps" counter readonly
  .10 "In Timestamps" counter readonly
  .11 "In Timestamp Reps" counter readonly
  .12 "In Addr Masks" counter readonly
  .13 "In Addr Mask Reps" counter readonly
  .14 "Out Msgs" counter readonly
  .15 "Out Errors" counter readonly
  .16 "Out Dest Unreachs" counter readonly
  .17 "Out Time Excds" counter readonly
  .18 "Out Parm Probs" counter readonly
  .19 "Out Src Quenchs" counter readonly
  .20 "Out Redirects" counter readonly
  .21 "Out Echos" counter readonly
  .22 "Out Echo Reps" counter readonly
  .23 "Out Timestamps" counter readonly
  .24 "Out Timestamp Reps" counter readonly
  .25 "Out Addr Masks" counter readonly
  .26 "Out Addr Mask Reps" counter readonly

table SNMPCounters 1.3.6.1.2.1.11
  .1 "In Pkts" counter readonly
  .2 "Out Pkts" counter readonly
  .3 "In Bad Versions" counter readonly
  .4 "In Bad Community Names" counter readonly
  .5 "In Bad Community Uses" counter readonly
  .6 "In ASN Parse Errs" counter readonly
  .8 "In Too Bigs" counter readonly
  .9 "In No Such Names" counter readonly
  .10 "In Bad Values" counter readonly
  .11 "In Read Onlys" counter readonly
  .12 "In Gen Errs" counter readonly
  .13 "In Total Req Vars" counter readonly
  .14 "In Total Set Vars" counter readonly
  .15 "In Get Requests" counter readonly
  .16 "In Get Nexts" counter readonly
  .17 "In Set Requests" counter readonly
  .18 "In Get Responses" counter readonly
  .19 "In Traps" counter readonly
  .20 "Out Too Bigs" counter readonly
  .21 "Out No Such Names" counter readonly
  .22 "Out Bad Values" counter readonly
  .24 "Out Gen Errs" counter readonly
  .25 "Out Get Requests" counter readonly
  .26 "Out Get Nexts" counter readonly
  .27 "Out Set Requests" counter readonly
  .28 "Out Get Responses" counter readonly
  .29 "Out Traps" counter readonly
  .30 "Enable Authen Traps" integer readwrite {1 "enabled", 2 "disabled"}

table IFCounters 1.3.6.1.2.1.2.2.1
  .1 "" integer readonly
  .2 "" displaystr readonly
  .10 "In Octets" counter readonly
  .11 "In Ucast Pkts" counter readonly
  .12 "In NUcast Pkts" counter readonly
  .13 "In Discards" counter readonly
  .14 "In Errors" counter readonly
  .15 "In Unknown Protos" counter readonly
  .16 "Out Octets" counter readonly
  .17 "Out Ucast Pkts" counter readonly
  .18 "Out NUcast Pkts" counter readonly
  .19 "Out Discards" counter readonly
  .20 "Out Errors" counter readonly

table IFTableIndex 1.3.6.1.2.1.2.2.1
  .1 "Index" integer readonly
  .2 "Description      " displaystr readonly

table TpPortTable 1.3.6.1.2.1.17.4.4.1
  .1 "Port" integer readonly
  .2 "Port Max Info" integer readonly
  .3 "Port In Frames" counter readonly
  .4 "Port Out Frames" counter readonly
  .5 "Port In Discards" counter readonly

table IPRouteTable 1.3.6.1.2.1.4.21.1
  .1 "Dest" ipaddress readwrite
  .2 "IF Index" integer readwrite
  .3 "Metric1" integer readwrite
  .4 "Metric2" integer readwrite
  .5 "Metric3" integer readwrite
  .6 "Metric4" integer readwrite
  .7 "Next Hop" ipaddress readwrite
  .8 "Type" integer readwrite {2 "invalid", 3 "direct", 4 "indirect"}
  .9 "Proto" integer readonly {2 "local", 3 "netmgmt", 4 "icmp", 5 "egp", 6 "ggp", 7 "hello", 8 "rip", 9 "is-is", 10 "es-is", 11 "ciscoIgrp", 12 "bbnSpfIgp", 13 "ospf", 14 "bgp"}
  .10 "Age" integer readwrite
  .11 "Mask" ipaddress readwrite
  .12 "Metric5" integer readwrite
  .13 "Info" objectid readonly
)";

const KtMibData &tables()
{
    static const KtMibData data = KtMibData::Parse(QByteArray(kTables), QStringLiteral("monitor tables"));
    return data;
}

} // namespace

namespace KtMonitorTables {

const KtSNMPVarTable &Table(const QString &name)
{
    const KtSNMPVarTable *t = tables().FindTable(name);
    if (!t)
        throw KtException(-1, QStringLiteral("No monitor table named %1").arg(name));
    return *t;
}

} // namespace KtMonitorTables
