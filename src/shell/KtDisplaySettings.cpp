#include "shell/KtDisplaySettings.h"

#include "snmp/KtSNMPSession.h"

KtDisplaySettings KtDisplaySettings::From(const KtSNMPDevice &device, const KtSNMPScope &scope,
                                          const KtSNMPSecurity &security)
{
    KtDisplaySettings d;
    d.Host = device.Host;
    d.Version = QString::number(security.Version);
    d.ReadCommunity = security.ReadCommunity;
    d.WriteCommunity = security.WriteCommunity;
    d.Port = QString::number(device.AgentPort);
    d.ContextName = scope.ContextName;
    d.ContextEngineID = scope.ContextEngineID;
    d.SecurityModel = QString::number(security.SecurityModel);
    d.SecurityLevel = QString::number(security.SecurityLevel);
    d.SecurityName = security.SecurityName;
    d.AuthProtocol = QString::number(security.AuthProtocol);
    d.PrivProtocol = QString::number(security.PrivProtocol);
    d.AuthPassword = security.AuthPassword;
    d.PrivPassword = security.PrivPassword;
    return d;
}

KtDisplaySettings KtDisplaySettings::FromSession()
{
    return From(KtSNMPSession::Device(), KtSNMPSession::Scope(), KtSNMPSession::Security());
}
