#pragma once

#include <QString>

struct KtSNMPDevice;
struct KtSNMPScope;
struct KtSNMPSecurity;

// Text copies of the session settings that the main window shows and
// that the settings dialog compares against.
struct KtDisplaySettings
{
    QString Host;
    QString Version;
    QString ReadCommunity;
    QString WriteCommunity;
    QString Port;
    QString ContextName;
    QString ContextEngineID;
    QString SecurityModel;
    QString SecurityLevel;
    QString SecurityName;
    QString AuthProtocol;
    QString PrivProtocol;
    QString AuthPassword;
    QString PrivPassword;

    static KtDisplaySettings From(const KtSNMPDevice &device, const KtSNMPScope &scope,
                                  const KtSNMPSecurity &security);
    // From the process-wide session records.
    static KtDisplaySettings FromSession();
};
