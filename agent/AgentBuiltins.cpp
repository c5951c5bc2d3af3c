#include "AgentBuiltins.h"

const std::string &AgentBuiltinGroups()
{
    static const std::string text = R"(
# MIB-II system
group 1.3.6.1.2.1.1
.1 "sysDescr" displaystr readonly
.2 "sysObjectID" objectid readonly
.3 "sysUpTime" timeticks readonly
.4 "sysContact" displaystr readwrite
.5 "sysName" displaystr readwrite
.6 "sysLocation" displaystr readwrite
.7 "sysServices" integer readonly

group 1.3.6.1.2.1.2
.1 "ifNumber" integer readonly

table 1.3.6.1.2.1.2.2.1 1 rows 1-28,5120
.1 "ifIndex" integer readonly
.2 "ifDescr" displaystr readonly
.3 "ifType" integer readonly
.4 "ifMtu" integer readonly
.5 "ifSpeed" gauge readonly
.6 "ifPhysAddress" macaddress readonly
.7 "ifAdminStatus" integer readwrite {1 up, 2 down, 3 testing}
.8 "ifOperStatus" integer readonly {1 up, 2 down, 3 testing}
.9 "ifLastChange" timeticks readonly
.10 "ifInOctets" counter readonly
.11 "ifInUcastPkts" counter readonly
.12 "ifInNUcastPkts" counter readonly
.13 "ifInDiscards" counter readonly
.14 "ifInErrors" counter readonly
.15 "ifInUnknownProtos" counter readonly
.16 "ifOutOctets" counter readonly
.17 "ifOutUcastPkts" counter readonly
.18 "ifOutNUcastPkts" counter readonly
.19 "ifOutDiscards" counter readonly
.20 "ifOutErrors" counter readonly
.21 "ifOutQLen" gauge readonly
.22 "ifSpecific" objectid readonly

group 1.3.6.1.2.1.4
.1 "ipForwarding" integer readwrite {1 forwarding, 2 notForwarding}
.2 "ipDefaultTTL" integer readwrite
.3 "ipInReceives" counter readonly
.4 "ipInHdrErrors" counter readonly
.5 "ipInAddrErrors" counter readonly
.6 "ipForwDatagrams" counter readonly
.7 "ipInUnknownProtos" counter readonly
.8 "ipInDiscards" counter readonly
.9 "ipInDelivers" counter readonly
.10 "ipOutRequests" counter readonly
.11 "ipOutDiscards" counter readonly
.12 "ipOutNoRoutes" counter readonly
.13 "ipReasmTimeout" integer readonly
.14 "ipReasmReqds" counter readonly
.15 "ipReasmOKs" counter readonly
.16 "ipReasmFails" counter readonly
.17 "ipFragOKs" counter readonly
.18 "ipFragFails" counter readonly
.19 "ipFragCreates" counter readonly
.23 "ipRoutingDiscards" counter readonly

table 1.3.6.1.2.1.4.20.1 1 rows 10.90.90.90,192.168.2.1,192.168.3.1
.1 "ipAdEntAddr" ipaddress readonly
.2 "ipAdEntIfIndex" integer readonly
.3 "ipAdEntNetMask" ipaddress readonly
.4 "ipAdEntBcastAddr" integer readonly
.5 "ipAdEntReasmMaxSize" integer readonly

table 1.3.6.1.2.1.4.21.1 1 rows 0.0.0.0,10.0.0.0
.1 "ipRouteDest" ipaddress readonly
.2 "ipRouteIfIndex" integer readwrite
.3 "ipRouteMetric1" integer readwrite
.4 "ipRouteMetric2" integer readwrite
.5 "ipRouteMetric3" integer readwrite
.6 "ipRouteMetric4" integer readwrite
.7 "ipRouteNextHop" ipaddress readwrite
.8 "ipRouteType" integer readwrite {1 other, 2 invalid, 3 direct, 4 indirect}
.9 "ipRouteProto" integer readonly {1 other, 2 local, 3 netmgmt, 4 icmp, 5 egp, 6 ggp, 7 hello, 8 rip, 9 is-is, 10 es-is, 11 ciscoIgrp, 12 bbnSpfIgp, 13 ospf, 14 bgp}
.10 "ipRouteAge" integer readwrite
.11 "ipRouteMask" ipaddress readwrite
.12 "ipRouteMetric5" integer readwrite
.13 "ipRouteInfo" objectid readonly

table 1.3.6.1.2.1.4.22.1 2 rows 5120.10.90.90.1,5120.10.90.90.254
.1 "ipNetToMediaIfIndex" integer notaccess
.3 "ipNetToMediaNetAddress" ipaddress notaccess
.2 "ipNetToMediaPhysAddress" macaddress readwrite
.4 "ipNetToMediaType" integer readwrite {1 other, 2 invalid, 3 dynamic, 4 static}

group 1.3.6.1.2.1.5
.1 "icmpInMsgs" counter readonly
.2 "icmpInErrors" counter readonly
.3 "icmpInDestUnreachs" counter readonly
.4 "icmpInTimeExcds" counter readonly
.5 "icmpInParmProbs" counter readonly
.6 "icmpInSrcQuenchs" counter readonly
.7 "icmpInRedirects" counter readonly
.8 "icmpInEchos" counter readonly
.9 "icmpInEchoReps" counter readonly
.10 "icmpInTimestamps" counter readonly
.11 "icmpInTimestampReps" counter readonly
.12 "icmpInAddrMasks" counter readonly
.13 "icmpInAddrMaskReps" counter readonly
.14 "icmpOutMsgs" counter readonly
.15 "icmpOutErrors" counter readonly
.16 "icmpOutDestUnreachs" counter readonly
.17 "icmpOutTimeExcds" counter readonly
.18 "icmpOutParmProbs" counter readonly
.19 "icmpOutSrcQuenchs" counter readonly
.20 "icmpOutRedirects" counter readonly
.21 "icmpOutEchos" counter readonly
.22 "icmpOutEchoReps" counter readonly
.23 "icmpOutTimestamps" counter readonly
.24 "icmpOutTimestampReps" counter readonly
.25 "icmpOutAddrMasks" counter readonly
.26 "icmpOutAddrMaskReps" counter readonly

group 1.3.6.1.2.1.7
.1 "udpInDatagrams" counter readonly
.2 "udpNoPorts" counter readonly
.3 "udpInErrors" counter readonly
.4 "udpOutDatagrams" counter readonly

group 1.3.6.1.2.1.11
.1 "snmpInPkts" counter readonly
.2 "snmpOutPkts" counter readonly
.3 "snmpInBadVersions" counter readonly
.4 "snmpInBadCommunityNames" counter readonly
.5 "snmpInBadCommunityUses" counter readonly
.6 "snmpInASNParseErrs" counter readonly
.8 "snmpInTooBigs" counter readonly
.9 "snmpInNoSuchNames" counter readonly
.10 "snmpInBadValues" counter readonly
.11 "snmpInReadOnlys" counter readonly
.12 "snmpInGenErrs" counter readonly
.13 "snmpInTotalReqVars" counter readonly
.14 "snmpInTotalSetVars" counter readonly
.15 "snmpInGetRequests" counter readonly
.16 "snmpInGetNexts" counter readonly
.17 "snmpInSetRequests" counter readonly
.18 "snmpInGetResponses" counter readonly
.19 "snmpInTraps" counter readonly
.20 "snmpOutTooBigs" counter readonly
.21 "snmpOutNoSuchNames" counter readonly
.22 "snmpOutBadValues" counter readonly
.24 "snmpOutGenErrs" counter readonly
.25 "snmpOutGetRequests" counter readonly
.26 "snmpOutGetNexts" counter readonly
.27 "snmpOutSetRequests" counter readonly
.28 "snmpOutGetResponses" counter readonly
.29 "snmpOutTraps" counter readonly
.30 "snmpEnableAuthenTraps" integer readwrite {1 enabled, 2 disabled}

# IF-MIB
group 1.3.6.1.2.1.31.1
.5 "ifTableLastChange" timeticks readonly
.6 "ifStackLastChange" timeticks readonly

table 1.3.6.1.2.1.31.1.1.1 1 rows 1-28,5120
index "ifIndex" integer notaccess
.1 "ifName" displaystr readonly
.2 "ifInMulticastPkts" counter readonly
.3 "ifInBroadcastPkts" counter readonly
.4 "ifOutMulticastPkts" counter readonly
.5 "ifOutBroadcastPkts" counter readonly
.6 "ifHCInOctets" counter64 readonly
.7 "ifHCInUcastPkts" counter64 readonly
.8 "ifHCInMulticastPkts" counter64 readonly
.9 "ifHCInBroadcastPkts" counter64 readonly
.10 "ifHCOutOctets" counter64 readonly
.11 "ifHCOutUcastPkts" counter64 readonly
.12 "ifHCOutMulticastPkts" counter64 readonly
.13 "ifHCOutBroadcastPkts" counter64 readonly
.14 "ifLinkUpDownTrapEnable" integer readwrite {1 enabled, 2 disabled}
.15 "ifHighSpeed" gauge readonly
.16 "ifPromiscuousMode" integer readwrite {1 true, 2 false}
.17 "ifConnectorPresent" integer readonly {1 true, 2 false}
.18 "ifAlias" displaystr readwrite
.19 "ifCounterDiscontinuityTime" timeticks readonly

# BRIDGE-MIB
group 1.3.6.1.2.1.17.1
.1 "dot1dBaseBridgeAddress" macaddress readonly
.2 "dot1dBaseNumPorts" integer readonly
.3 "dot1dBaseType" integer readonly {1 unknown, 2 transparent-only, 3 sourceroute-only, 4 srt}

group 1.3.6.1.2.1.17.4
.1 "dot1dTpLearnedEntryDiscards" counter readonly
.2 "dot1dTpAgingTime" integer readwrite

table 1.3.6.1.2.1.17.4.4.1 1 rows 1-28
.1 "dot1dTpPort" integer readonly
.2 "dot1dTpPortMaxInfo" integer readonly
.3 "dot1dTpPortInFrames" counter readonly
.4 "dot1dTpPortOutFrames" counter readonly
.5 "dot1dTpPortInDiscards" counter readonly

# Device actions and state
group 1.3.6.1.4.1.32473.12.1.2
.6 "Save Changes" integer readwrite
.19 "Reboot" integer readwrite

group 1.3.6.1.4.1.32473.11.69.1.2.1.2
.3 "RMON State" integer readwrite {2 disabled, 3 enabled}

# Spanning tree
group 1.3.6.1.4.1.32473.12.15.1
.1 "Spanning Tree Algorithm" integer readwrite {2 disabled, 3 enabled}
.2 "Version" integer readwrite {0 stp, 1 rstp, 2 mstp}
.3 "Max Age" integer readwrite fmt "%i{n600x4000}"
.4 "Hello Time" integer readwrite fmt "%i{n100x1000}"
.5 "Forward Delay" integer readwrite fmt "%i{n400x3000}"
.6 "Max Hops" integer readwrite fmt "%i{n1x20}"
.7 "TX Hold Count" integer readwrite fmt "%i{n1x10}"
.8 "Forward BPDU" integer readwrite {2 disabled, 3 enabled}

# Time and summer time
group 1.3.6.1.4.1.32473.12.10
.1 "Time Capacity" bitstr readonly
.2 "Current Clock" datetime readwrite
.3 "Clock Reset On Reboot" integer readonly {1 true, 2 false}

group 1.3.6.1.4.1.32473.12.10.12
.1 "Status" integer readwrite {0 disable, 1 repeating, 2 annual}
.2 "Offset" integer readwrite fmt "%i{n30x120}" step 30
.3 "Time Start" octetstr readwrite size 6
.4 "Time End" octetstr readwrite size 6
.5 "Time Start" octetstr readwrite size 4
.6 "Time End" octetstr readwrite size 4

# Routing
table 1.3.6.1.4.1.32473.11.69.1.3.5.1 2 rows 3.2,4.2,5.2,2.3,4.3,5.3
.1 "Source Protocol" integer notaccess {2 rip, 3 ospf, 4 static, 5 local}
.2 "Destination Protocol" integer notaccess {2 rip, 3 ospf}
.3 "Type" integer readwrite {2 all, 3 type-1, 4 type-2, 5 internal, 6 external, 7 inter+E1, 8 inter+E2, 9 extType1, 10 extType2}
.4 "Metric" integer readwrite fmt "%i{n0x16777214}"
.5 "RowStatus" integer readwrite {1 active, 4 createAndGo, 6 destroy}

group 1.3.6.1.4.1.32473.11.69.1.3.12
.1 "State" integer readwrite {1 enabled, 2 disabled}
.2 "Always" integer readwrite {1 enabled, 2 disabled}
.3 "Mettype" integer readwrite {1 type1, 2 type2}
.4 "Metric" integer readwrite fmt "%i{n0x16777214}"

# Single-IP member switches
table 1.3.6.1.4.1.32473.12.8.1.3.1 1 rows 1-3
.1 "MS ID" integer notaccess fmt "%i{n1x32}"
.2 "MS Device Name" displaystr readonly
.3 "MS MAC Addr" macaddress readonly
.4 "MS Firmware Ver" displaystr readonly
.5 "MS Capability" displaystr readonly
.6 "MS Platform" displaystr readonly
.7 "MS Holdtime" integer readonly
.8 "MS CAS Source" integer readwrite fmt "%i{n1x32}"
.9 "MS Password" displaystr readwrite
.10 "MS Row Status" integer readwrite {1 active, 4 createAndGo, 6 destroy}

# MD5 keys
table 1.3.6.1.4.1.32473.11.69.1.3.4.1 1 rows 1-3
.1 "Key ID" integer notaccess fmt "%i{n1x255}"
.2 "Key" displaystr readwrite fmt "%s{l16}"
.3 "Status" integer readwrite {1 active, 4 createAndGo, 6 destroy}

# BOOTP relay and IP interfaces
table 1.3.6.1.4.1.32473.11.69.1.3.3.1.7.1 2 rows 6.83.121.115.116.101.109.10.90.90.200,6.83.121.115.116.101.109.10.90.90.201,6.83.121.115.116.101.109.10.90.90.202,6.83.121.115.116.101.109.10.90.90.203,5.105.112.105.102.50.192.168.2.250
.1 "Interface Name" displaystr notaccess fmt "%s{l12}"
.2 "Bootp Server IP" ipaddress notaccess
.3 "State" integer readwrite {2 invalid, 3 valid}

table 1.3.6.1.4.1.32473.11.69.1.3.2.1.1.1 1 rows 10.90.90.90,192.168.2.1,192.168.3.1
.1 "IP Address" ipaddress notaccess
.2 "IF Index" integer readonly fmt "%i{n0x65535}"
.3 "Interface Name" displaystr readwrite fmt "%s{l12}"
.4 "Subnet Mask" ipaddress readwrite
.5 "VLAN Name" displaystr readwrite fmt "%s{l32}"
.6 "Mode" integer readwrite {2 manual, 3 bootp, 4 dhcp}
.7 "Secondary" integer readwrite {1 true, 2 false}
.8 "Admin State" integer readwrite {1 active, 2 notInService, 4 createAndGo, 6 destroy}
.9 "Operational State" integer readonly {2 up, 3 down}
.10 "Proxy ARP State" integer readwrite {2 disabled, 3 enabled}

# Security
group 1.3.6.1.4.1.32473.12.7.1
.1 "Status Admin" integer readwrite {2 disabled, 3 enabled}
.2 "Cipher Suites" octetstr readwrite size 1
.3 "Cache Timeout" gauge readwrite

table 1.3.6.1.4.1.32473.12.5.12.1 3 rows 6.114.97.100.105.117.115.10.90.90.10.4
.1 "Group Name" displaystr notaccess
.2 "IP Addr" ipaddress notaccess
.3 "Auth Protocol" integer notaccess {1 tacacs, 2 xtacacs, 3 tacacs-plus, 4 radius}
.4 "Row State" integer readwrite {1 add, 2 delete}

# ACL meters and equipment
table 1.3.6.1.4.1.32473.12.9.6.1.1 2 rows 1.1,2.1,2.2,3.1
.1 "ACL Meter Profile ID" integer notaccess fmt "%i{n1x255}"
.2 "ACL Meter Access ID" integer notaccess fmt "%i{n1x65535}"
.3 "Meter Rate" integer readwrite fmt "%i{n0x999936}"
.4 "Meter Action For Rate Exceed" integer readwrite {1 other, 2 drop-packet, 3 set-drop-precedence}

group 1.3.6.1.4.1.32473.12.11.1
1.3.6.1.4.1.32473.12.11.1.1 "Equipment Capacity" bitstr readonly
1.3.6.1.4.1.32473.12.11.1.9.1 "Stacking Version" integer readonly
1.3.6.1.4.1.32473.12.11.1.9.2 "Max SupportedUnits" integer readonly
1.3.6.1.4.1.32473.12.11.1.9.3 "Num Of Unit" integer readonly

table 1.3.6.1.4.1.32473.12.11.1.9.4.1 1 rows 1
.1 "ID" integer notaccess
.2 "MAC Addr" macaddress readonly
.3 "Start Port" integer readonly
.4 "Port Range" integer readonly
.5 "Front Panel LED Status" octetstr readonly
.6 "Ctrl Mode" integer readonly {2 auto, 3 stand-alone}
.7 "Current Mode" integer readonly {2 auto, 3 stand-alone}
.9 "Module Name" displaystr readonly

# Seed rows of catalogue tables whose rows are not found by their index
rows 1.3.6.1.2.1.17.7.1.4.3.1 1
rows 1.3.6.1.2.1.17.7.1.4.2.1 0.1
rows 1.3.6.1.4.1.32473.11.69.1.2.3.1.1 1
)";
    return text;
}

const std::vector<std::pair<std::string, int>> &AgentCatalogueIndexCounts()
{
    static const std::vector<std::pair<std::string, int>> counts = {
    {"1.0.8802.1.1.1.1.1.2.1", 1},
    {"1.0.8802.1.1.1.1.2.1.1", 1},
    {"1.0.8802.1.1.1.1.2.2.1", 1},
    {"1.0.8802.1.1.1.1.2.3.1", 1},
    {"1.0.8802.1.1.1.1.2.4.1", 1},
    {"1.3.6.1.2.1.17.6.1.1.4.1", 1},
    {"1.3.6.1.2.1.17.6.1.2.1.1", 1},
    {"1.3.6.1.2.1.17.6.1.3.1.1", 1},
    {"1.3.6.1.2.1.17.7.1.4.3.1", 1},
    {"1.3.6.1.2.1.17.7.1.4.5.1", 1},
    {"1.3.6.1.2.1.2.2.1", 1},
    {"1.3.6.1.2.1.2.2.1", 1},
    {"1.3.6.1.2.1.31.1.1.1", 1},
    {"1.3.6.1.2.1.4.20.1", 1},
    {"1.3.6.1.2.1.85.1.1.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.2.10.3.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.2.10.4.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.2.10.5.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.2.10.6.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.2.10.7.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.2.13.1.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.2.14.1.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.2.3.1.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.2.6.1.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.2.6.2.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.2.6.3.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.2.6.4.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.2.8.3.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.3.11.1.3.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.3.11.4.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.3.11.5.3.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.3.11.7.1", 1},
    {"1.3.6.1.4.1.32473.11.69.1.3.2.2.1.1", 1},
    {"1.3.6.1.4.1.32473.12.1.1.2.1", 1},
    {"1.3.6.1.4.1.32473.12.1.1.7.1", 1},
    {"1.3.6.1.4.1.32473.12.1.2.1.1", 1},
    {"1.3.6.1.4.1.32473.12.1.2.10.1", 1},
    {"1.3.6.1.4.1.32473.12.1.2.13.1.1", 1},
    {"1.3.6.1.4.1.32473.12.1.2.7.1", 1},
    {"1.3.6.1.4.1.32473.12.11.1.9.4.1", 1},
    {"1.3.6.1.4.1.32473.12.12.2.1", 1},
    {"1.3.6.1.4.1.32473.12.15.2.3.1", 1},
    {"1.3.6.1.4.1.32473.12.15.2.4.1", 1},
    {"1.3.6.1.4.1.32473.12.18.1.4.1", 1},
    {"1.3.6.1.4.1.32473.12.23.3.2.1", 1},
    {"1.3.6.1.4.1.32473.12.23.4.1.1", 1},
    {"1.3.6.1.4.1.32473.12.23.4.3.1", 1},
    {"1.3.6.1.4.1.32473.12.25.3.1.1", 1},
    {"1.3.6.1.4.1.32473.12.27.2.1.1", 1},
    {"1.3.6.1.4.1.32473.12.27.3.1.1", 1},
    {"1.3.6.1.4.1.32473.12.27.3.2.1", 1},
    {"1.3.6.1.4.1.32473.12.28.3.1.1", 1},
    {"1.3.6.1.4.1.32473.12.3.2.4.1", 1},
    {"1.3.6.1.4.1.32473.12.3.4.3.1", 1},
    {"1.3.6.1.4.1.32473.12.3.5.3.1", 1},
    {"1.3.6.1.4.1.32473.12.3.6.1.1", 1},
    {"1.3.6.1.4.1.32473.12.3.6.2.1", 1},
    {"1.3.6.1.4.1.32473.12.3.6.3.1", 1},
    {"1.3.6.1.4.1.32473.12.3.6.4.1", 1},
    {"1.3.6.1.4.1.32473.12.31.3.1.1", 1},
    {"1.3.6.1.4.1.32473.12.34.3.2.1", 1},
    {"1.3.6.1.4.1.32473.12.34.3.4.1", 1},
    {"1.3.6.1.4.1.32473.12.35.3.1.1", 1},
    {"1.3.6.1.4.1.32473.12.35.4.1.1", 1},
    {"1.3.6.1.4.1.32473.12.37.1.2.1", 1},
    {"1.3.6.1.4.1.32473.12.37.2.1.1", 1},
    {"1.3.6.1.4.1.32473.12.37.3.1.1", 1},
    {"1.3.6.1.4.1.32473.12.37.4.1.1", 1},
    {"1.3.6.1.4.1.32473.12.38.3.2.1.1", 1},
    {"1.3.6.1.4.1.32473.12.38.3.5.1", 1},
    {"1.3.6.1.4.1.32473.12.4.1.1.1.1", 1},
    {"1.3.6.1.4.1.32473.12.4.1.1.2.1", 1},
    {"1.3.6.1.4.1.32473.12.4.1.2.1.1", 1},
    {"1.3.6.1.4.1.32473.12.41.3.1.1", 1},
    {"1.3.6.1.4.1.32473.12.5.3.1", 1},
    {"1.3.6.1.4.1.32473.12.5.4.1", 1},
    {"1.3.6.1.4.1.32473.12.5.9.1", 1},
    {"1.3.6.1.4.1.32473.12.53.1.1", 1},
    {"1.3.6.1.4.1.32473.12.53.4.1", 1},
    {"1.3.6.1.4.1.32473.12.53.5.1", 1},
    {"1.3.6.1.4.1.32473.12.8.1.4.1", 1},
    {"1.3.6.1.4.1.32473.12.8.1.5.1", 1},
    {"1.3.6.1.4.1.32473.12.9.2.1.1", 1},
    {"1.3.6.1.4.1.32473.12.9.2.2.1", 1},
    {"1.3.6.1.4.1.32473.12.9.2.3.1", 1},
    {"1.3.6.1.4.1.32473.12.9.2.4.1", 1},
    {"1.3.6.1.4.1.32473.12.9.4.1.1", 1},
    {"1.3.6.1.4.1.32473.12.9.4.2.1", 1},
    {"1.3.6.1.4.1.32473.12.9.4.3.1", 1},
    {"1.3.6.1.6.3.12.1.2.1", 1},
    {"1.3.6.1.6.3.12.1.3.1", 1},
    {"1.3.6.1.6.3.13.1.1.1", 1},
    {"1.3.6.1.6.3.13.1.2.1", 1},
    {"1.3.6.1.6.3.18.1.1.1", 1},
    {"1.3.6.1.6.3.18.1.2.1", 1},
    {"1.3.6.1.2.1.17.6.1.2.2.1", 2},
    {"1.3.6.1.2.1.17.6.1.2.3.1", 2},
    {"1.3.6.1.2.1.17.6.1.2.4.1", 2},
    {"1.3.6.1.2.1.17.7.1.2.2.1", 2},
    {"1.3.6.1.2.1.17.7.1.4.2.1", 2},
    {"1.3.6.1.2.1.17.7.1.5.1.1", 2},
    {"1.3.6.1.2.1.17.7.1.5.2.1", 2},
    {"1.3.6.1.2.1.4.22.1", 2},
    {"1.3.6.1.2.1.68.1.3.1", 2},
    {"1.3.6.1.2.1.68.2.4.1", 2},
    {"1.3.6.1.2.1.85.1.2.1", 2},
    {"1.3.6.1.3.61.1.1.11.1", 2},
    {"1.3.6.1.4.1.32473.11.69.1.2.1.1.8.1", 2},
    {"1.3.6.1.4.1.32473.11.69.1.2.4.4.1", 2},
    {"1.3.6.1.4.1.32473.11.69.1.2.4.5.1", 2},
    {"1.3.6.1.4.1.32473.11.69.1.3.3.2.6.1", 2},
    {"1.3.6.1.4.1.32473.11.69.1.3.6.1", 2},
    {"1.3.6.1.4.1.32473.11.69.1.3.7.1", 2},
    {"1.3.6.1.4.1.32473.11.69.1.3.8.1", 2},
    {"1.3.6.1.4.1.32473.12.11.1.6.1", 2},
    {"1.3.6.1.4.1.32473.12.11.1.7.1", 2},
    {"1.3.6.1.4.1.32473.12.15.2.5.1", 2},
    {"1.3.6.1.4.1.32473.12.18.1.6.1", 2},
    {"1.3.6.1.4.1.32473.12.23.4.2.1", 2},
    {"1.3.6.1.4.1.32473.12.31.3.2.1", 2},
    {"1.3.6.1.4.1.32473.12.34.3.3.1", 2},
    {"1.3.6.1.4.1.32473.12.34.3.5.1", 2},
    {"1.3.6.1.4.1.32473.12.35.2.1.1", 2},
    {"1.3.6.1.4.1.32473.12.37.1.1.1", 2},
    {"1.3.6.1.4.1.32473.12.38.3.1.1", 2},
    {"1.3.6.1.4.1.32473.12.38.3.2.2.1", 2},
    {"1.3.6.1.4.1.32473.12.38.3.2.3.1", 2},
    {"1.3.6.1.4.1.32473.12.38.3.2.4.1", 2},
    {"1.3.6.1.4.1.32473.12.38.3.3.1", 2},
    {"1.3.6.1.4.1.32473.12.38.3.4.1", 2},
    {"1.3.6.1.4.1.32473.12.5.10.1", 2},
    {"1.3.6.1.4.1.32473.12.53.3.1", 2},
    {"1.3.6.1.4.1.32473.12.9.3.1.1", 2},
    {"1.3.6.1.4.1.32473.12.9.3.2.1", 2},
    {"1.3.6.1.4.1.32473.12.9.3.3.1", 2},
    {"1.3.6.1.4.1.32473.12.9.3.4.1", 2},
    {"1.3.6.1.4.1.32473.12.9.5.1.1", 2},
    {"1.3.6.1.4.1.32473.12.9.5.2.1", 2},
    {"1.3.6.1.4.1.32473.12.9.5.3.1", 2},
    {"1.3.6.1.6.3.13.1.3.1", 2},
    {"1.3.6.1.6.3.15.1.2.2.1", 2},
    {"1.3.6.1.6.3.16.1.2.1", 2},
    {"1.3.6.1.6.3.16.1.5.2.1", 2},
    {"1.3.6.1.2.1.68.1.4.1", 3},
    {"1.3.6.1.3.61.1.1.4.1", 3},
    {"1.3.6.1.4.1.32473.11.69.1.3.11.6.1", 3},
    {"1.3.6.1.4.1.32473.11.69.1.3.2.5.1", 3},
    {"1.3.6.1.4.1.32473.12.18.1.10.1", 3},
    {"1.3.6.1.4.1.32473.12.53.2.1", 3},
    {"1.3.6.1.3.61.1.1.6.1", 4},
    {"1.3.6.1.6.3.16.1.4.1", 4},
    };
    return counts;
}
