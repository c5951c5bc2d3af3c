#pragma once

#include "ports/KtMultiPortWrite.h"

#include <QList>

// What "Edit Selected Ports..." offers.
namespace KtPortColumns {

inline constexpr const char *VlanStaticTable = "VLANStaticTable";

// The writable columns of the port tables whose row is one port (the
// port's number its only index), in the data file's order; raises
// KtException when the port table data is bad.
QList<KtPortColumn> Shared();

// The member-port lists of every VLAN the switch has (egress and untagged),
// from one walk of its static VLAN table; raises KtException when the walk fails.
QList<KtPortColumn> VlanMembership();

} // namespace KtPortColumns
