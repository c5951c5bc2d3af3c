#pragma once

#include "snmp/KtSNMPVar.h"

#include <QString>

// The variable tables the monitors poll, in the descriptor-file form of
// the rest of the module and parsed once by the same reader.
namespace KtMonitorTables {

// "UDPCounters", "IPCounters", "ICMPCounters", "SNMPCounters",
// "IFCounters", "IFTableIndex", "TpPortTable", "IPRouteTable". Raises
// KtException for an unknown name (a programming error).
const KtSNMPVarTable &Table(const QString &name);

} // namespace KtMonitorTables
