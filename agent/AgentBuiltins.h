#pragma once

#include <string>
#include <utility>
#include <vector>

// Objects the agent defines itself: MIB-II, bridge and the switch objects
// that the dedicated dialogs read, in the compact group text form.
const std::string &AgentBuiltinGroups();

// Index counts of the catalogue's table entries (entry OID, count).
const std::vector<std::pair<std::string, int>> &AgentCatalogueIndexCounts();

// Well-known instances.
namespace AgentOids {
inline const std::string SysUpTime = "1.3.6.1.2.1.1.3.0";
inline const std::string SaveConfig = "1.3.6.1.4.1.32473.12.1.2.6.0";
inline const std::string Reboot = "1.3.6.1.4.1.32473.12.1.2.19.0";
inline const std::string SaveStatus = "1.3.6.1.4.1.32473.12.1.1.4.0";
inline const std::string FrontPanelLeds = "1.3.6.1.4.1.32473.12.11.1.9.4.1.5.1";
inline const std::string Enterprise = "1.3.6.1.4.1.32473";
} // namespace AgentOids
