#include "shell/KtConfigSNMPDoctor.h"

#include "shell/KtProfile.h"

namespace KtConfigSNMPDoctor {

KtDoctorSettings Settings(const KtConfigSNMPState &state, const KtDoctorSettings &running)
{
    KtDoctorSettings s;
    s.host = state.AgentIP;
    bool ok = false;
    const uint port = state.Port.trimmed().toUInt(&ok);
    s.port = ok && port >= 1 && port <= 65535 ? quint16(port) : 0;
    s.timeout = running.timeout;
    s.retries = running.retries;
    if (state.Version != KtConfigSNMPRules::V3Position) {
        s.version = state.Version == 1 ? 1 : 0;
        s.readCommunity = state.Context;
        s.writeCommunity = state.Community;
        return s;
    }
    s.version = 3;
    s.readCommunity = running.readCommunity;
    s.writeCommunity = running.writeCommunity;
    s.securityName = state.SecurityName;
    s.securityLevel = state.SecurityLevel + 1;
    s.authProtocol = state.AuthProtocol + 1;
    s.privProtocol = KtProfile::PrivProtocolCode(state.PrivProtocol);
    s.authPassword = state.AuthPassword;
    s.privPassword = state.PrivPassword;
    s.contextName = state.Context;
    s.contextEngineID = state.ContextEngine;
    return s;
}

} // namespace KtConfigSNMPDoctor
