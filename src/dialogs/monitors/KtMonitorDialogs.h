#pragma once

// Registers the counter monitors and the routing table view with the
// dialog registry under their class names: "TUDP_Counters",
// "TIP_Counters", "TICMP_Counters", "TSNMP_Counters", "TIF_Counters",
// "TIP_Routing" and "TTpBridgePortInfo_Table". Each opens modally over
// the main window and is deleted when it closes.
void RegisterMonitorDialogs();
