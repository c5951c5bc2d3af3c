#pragma once

#include "snmp/KtSNMPVarList.h"

// The equipment scalars; the capacity octets are shown through a list of
// known values ("40" is "Redundant Power"), others as their hex text.
namespace TEquipmentBasicInfoFormRules {

enum Column { CapacityColumn, StackingVersionColumn, MaxUnitsColumn, UnitsColumn };

KtSNMPVarList EquipmentList();

} // namespace TEquipmentBasicInfoFormRules
