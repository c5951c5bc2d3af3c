#include "snmp/KtSNMPSession.h"

#include "snmp/KtBootCounter.h"
#include "snmp/KtSnmpEngine.h"
#include "snmp/SnmpEventProcessor.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"

namespace {

KtSNMPDevice s_device;
KtSNMPScope s_scope;
KtSNMPSecurity s_security;
quint32 s_timeout = 100;
int s_bulkRepetitions = -1;
quint32 s_boots = 0;
bool s_started = false;

} // namespace

namespace KtSNMPSession {

KtSNMPDevice &Device() { return s_device; }
KtSNMPScope &Scope() { return s_scope; }
KtSNMPSecurity &Security() { return s_security; }
quint32 Timeout() { return s_timeout; }
void SetTimeout(quint32 timeout) { s_timeout = timeout; }
int BulkRepetitions() { return s_bulkRepetitions; }
void SetBulkRepetitions(int repetitions) { s_bulkRepetitions = repetitions < 0 ? -1 : repetitions; }
bool IsStarted() { return s_started; }
quint32 EngineBoots() { return s_boots; }

QString BootsFilePath(const QString &folder)
{
    if (folder.isEmpty())
        return QString::fromLatin1(BootsFileName);
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder + QString::fromLatin1(BootsFileName);
    return folder + QLatin1Char('/') + QString::fromLatin1(BootsFileName);
}

void StartSession(const QString &folder)
{
    if (s_started)
        return;
    KtSnmpEngine &engine = KtSnmpEngine::Instance();
    // The library's sessions open with the first request; what can fail
    // here is getting a local UDP port at all.
    if (!KtSnmpEngine::CanBindUdp())
        KtThrowEngine(KtCatalogue::EngNoSession);
    engine.Open();

    const QString file = BootsFilePath(folder);
    const QString id = QString::fromLatin1(LocalEngineId);
    quint32 boots = 0;
    const int loaded = KtBootCounter::Load(file, id, boots);
    if (loaded < KtBootCounter::NotOpenable)
        KtThrowEngine(KtCatalogue::EngBootsLoad);
    // The counter stops at its maximum instead of wrapping (RFC 3414).
    const quint32 next = boots >= MaxEngineBoots ? MaxEngineBoots : boots + 1;
    if (KtBootCounter::Save(file, id, next) != KtBootCounter::Ok)
        KtThrowEngine(KtCatalogue::EngBootsSave);

    engine.SetLocalEngine(QString::fromLatin1(LocalEngineId), next);
    s_boots = next;

    s_device = KtSNMPDevice();
    s_scope = KtSNMPScope();
    s_security = KtSNMPSecurity();
    s_timeout = 100;
    s_bulkRepetitions = -1;
    s_started = true;
    SnmpEventProcessor::Instance()->Start();
}

void StopSession()
{
    if (!s_started)
        return;
    SnmpEventProcessor::Instance()->Stop();
    KtSnmpEngine::Instance().Close();
    s_started = false;
}

} // namespace KtSNMPSession
