#pragma once

#include "doctor/KtDoctorReport.h"
#include "shell/KtConfigSNMPRules.h"

// The settings dialog's values as typed, as the settings of a connection test.
namespace KtConfigSNMPDoctor {

// running: what the dialog does not hold (time-out and retries; for SNMPv3
// the read community, which the port check also tries).
KtDoctorSettings Settings(const KtConfigSNMPState &state, const KtDoctorSettings &running);

} // namespace KtConfigSNMPDoctor
