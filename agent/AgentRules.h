#pragma once

#include "AgentStore.h"

#include <vector>

// Relations between switch objects that the limits of a single value do not
// express, and what the switch does by itself once a set is committed.
namespace AgentRules {

// Checked before the PDU lands: the System IP interface is never destroyed.
AgentStore::Check Before(const AgentStore &store, const std::vector<AgentVarBind> &pdu);
// Checked with the PDU applied: the 802.1D timer relation
// 2 x (Forward Delay - 1 s) >= Max Age >= 2 x (Hello Time + 1 s) (Hello Time
// does not count under MSTP) and at most four BOOTP servers per interface.
AgentStore::Check After(const AgentStore &store, const std::vector<AgentVarBind> &pdu);
// After a committed set: new IP interfaces get a free interface index and
// the IP address table follows the IP interface table; a new member switch
// shows the name, MAC, firmware and hold time it announces.
void Follow(AgentStore &store, const std::vector<AgentVarBind> &applied);

inline constexpr int MaxBootpServers = 4;
inline constexpr int64_t SystemIfIndex = 5120;

} // namespace AgentRules
