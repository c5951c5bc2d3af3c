#pragma once

#include "ports/KtMultiPortWrite.h"

#include <QList>

// What "Edit Selected Ports..." offers.
namespace KtPortColumns {

inline constexpr const char *VlanStaticTable = "VLANStaticTable";

// The member-port lists of every VLAN the switch has (egress and untagged),
// from one walk of its static VLAN table; raises KtException when the walk fails.
QList<KtPortColumn> VlanMembership();

} // namespace KtPortColumns
