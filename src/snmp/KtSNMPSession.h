#pragma once

#include <QString>

// Where the agent is.
struct KtSNMPDevice
{
    QString Host = QStringLiteral("127.0.0.1");
    quint16 AgentPort = 161;
};

// Which SNMPv3 context every PDU addresses.
struct KtSNMPScope
{
    QString ContextEngineID;  // hex text (optionally "0x"-prefixed) or plain text
    QString ContextName;
};

// How requests authenticate.
struct KtSNMPSecurity
{
    quint8 Version = 0;       // 0 v1, 1 v2c, 3 v3
    QString ReadCommunity = QStringLiteral("cobalt");
    QString WriteCommunity = QStringLiteral("lantern");
    qint32 SecurityModel = 1;  // 0 any, 1 v1, 2 v2c, 3 USM; v3 always uses USM
    qint32 SecurityLevel = 1;  // 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv
    QString SecurityName;
    QString AuthPassword;
    QString PrivPassword;
    qint32 AuthProtocol = 1;   // 1 none, 2 HMAC-MD5, 3 HMAC-SHA, 4-7 HMAC-SHA-224/256/384/512
    qint32 PrivProtocol = 1;   // 1 none, 2 DES, 4 AES-128, 5 AES-192, 6 AES-256, 9 IDEA (unsupported)
};

// The one process-wide SNMP session and its settings records.
//
// StartSession opens the SNMP library quietly (no MIB files, no
// configuration files, no persistent state outside our own folder),
// advances the engine-boots counter kept in "KtSNMP_PP_BootCounter"
// and starts the event pump. The records are plain data read by every
// KtSNMPRequest when it loads its settings.
namespace KtSNMPSession {

inline constexpr const char *LocalEngineId = "KtSNMP_PP_Application";
inline constexpr const char *BootsFileName = "KtSNMP_PP_BootCounter";
inline constexpr quint32 MaxEngineBoots = 2147483647;

KtSNMPDevice &Device();
KtSNMPScope &Scope();
KtSNMPSecurity &Security();

// Session time-out in units of 10 ms; 100 after StartSession.
quint32 Timeout();
void SetTimeout(quint32 timeout);

// Get-bulk repetitions of table walks: -1 (after StartSession) chosen
// from the answer size, 0 get-next only, n at most n.
int BulkRepetitions();
void SetBulkRepetitions(int repetitions);

// Raises -506, -507 or -508. A second call while started does nothing.
void StartSession(const QString &folder);
bool IsStarted();
// Stops the pump and closes the library; StartSession may run again afterwards.
void StopSession();

// Engine boots in use since the last StartSession (stored counter + 1, at
// most MaxEngineBoots).
quint32 EngineBoots();

// The boots file inside folder: the bare name for an empty folder.
QString BootsFilePath(const QString &folder);

} // namespace KtSNMPSession
