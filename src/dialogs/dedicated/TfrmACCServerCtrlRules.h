#pragma once

#include "dialogs/dedicated/KtDedicatedRules.h"
#include "snmp/KtSNMPVarList.h"

#include <QString>

#include <optional>

// What the access-control server dialog checks before a row state is set.
namespace TfrmACCServerCtrlRules {

enum Column { GroupColumn, AddressColumn, ProtocolColumn, RowStateColumn };
enum class Field { Group, Address, Protocol, RowState };

using Refusal = KtRefusal<Field>;

// The servers of the authentication groups, named by group, address and
// protocol; the table is only written.
KtSNMPVarList ServerList();

// The four fields of the dialog (a drop-down without choice gives "");
// nothing when the set may go, and then *address holds the address as it
// is to be sent.
std::optional<Refusal> CheckSet(const QString &group, const QString &address, const QString &protocol,
                                const QString &rowState, QString *plainAddress);

} // namespace TfrmACCServerCtrlRules
