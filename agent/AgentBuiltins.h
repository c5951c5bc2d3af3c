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
inline const std::string SystemReset = "1.3.6.1.4.1.32473.12.1.2.3.0";
inline const std::string Reset = "1.3.6.1.4.1.32473.12.1.2.20.0";
inline const std::string Clock = "1.3.6.1.4.1.32473.12.10.2.0";
inline const std::string TimeZone = "1.3.6.1.4.1.32473.12.10.10.4.0";
inline const std::string DeviceUpTime = "1.3.6.1.4.1.32473.11.69.1.2.1.1.1.0";
inline const std::string PortsInUse = "1.3.6.1.4.1.32473.11.69.1.2.1.1.3.0";
inline const std::string StpGroup = "1.3.6.1.4.1.32473.12.15.1";
inline const std::string IpInterfaceEntry = "1.3.6.1.4.1.32473.11.69.1.3.2.1.1.1";
inline const std::string BootpServerEntry = "1.3.6.1.4.1.32473.11.69.1.3.3.1.7.1";
inline const std::string MemberSwitchEntry = "1.3.6.1.4.1.32473.12.8.1.3.1";
inline const std::string IpAddrEntry = "1.3.6.1.2.1.4.20.1";
inline const std::string AggregatorEntry = "1.3.6.1.4.1.32473.12.4.1.1.1.1";
} // namespace AgentOids
