#include "ledger/KtChangeLedger.h"

#include "ledger/KtLedgerRules.h"

#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString Null = QStringLiteral("(NULL)");

// The settings of the request that writes, for a read of our own.
void copySettings(const KtSNMPRequest &from, KtSNMPRequest &to)
{
    to.Host = from.Host;
    to.AgentPort = from.AgentPort;
    to.ContextEngineID = from.ContextEngineID;
    to.ContextName = from.ContextName;
    to.Version = from.Version;
    to.ReadCommunity = from.ReadCommunity;
    to.WriteCommunity = from.WriteCommunity;
    to.SecurityModel = from.SecurityModel;
    to.SecurityLevel = from.SecurityLevel;
    to.SecurityName = from.SecurityName;
    to.AuthPassword = from.AuthPassword;
    to.PrivPassword = from.PrivPassword;
    to.AuthProtocol = from.AuthProtocol;
    to.PrivProtocol = from.PrivProtocol;
    to.Timeout = from.Timeout;
    to.Retries = from.Retries;
}

} // namespace

KtChangeLedger::KtChangeLedger(const QString &host, quint16 port, const QString &folder, QObject *parent)
    : QObject(parent), m_host(host), m_port(port), m_folder(folder.isEmpty() ? KtLedgerRules::StateFolder() : folder)
{
}

KtChangeLedger::~KtChangeLedger() = default;

void KtChangeLedger::Install()
{
    KtWriteObserver::Install(this);
}

QString KtChangeLedger::FilePath() const
{
    return QDir(m_folder).filePath(KtLedgerRules::FileName(m_host, m_port));
}

void KtChangeLedger::Load()
{
    m_entries.clear();
    QFile file(FilePath());
    if (!file.exists()) {
        emit changed(0);
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        setAside(file.errorString());
        return;
    }
    QList<KtLedgerEntry> entries;
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        ++lineNumber;
        if (line.isEmpty())
            continue;
        KtLedgerEntry e;
        QString why;
        if (!KtLedgerRules::FromLine(line, e, &why)) {
            file.close();
            setAside(QStringLiteral("line %1: %2").arg(lineNumber).arg(why));
            return;
        }
        entries.append(e);
    }
    m_entries = entries;
    for (const KtLedgerEntry &e : std::as_const(m_entries))
        m_upTime = std::max(m_upTime.value_or(0), e.UpTime);
    emit changed(Count());
}

void KtChangeLedger::setAside(const QString &why)
{
    const QString path = FilePath();
    const QString aside = KtLedgerRules::AsideName(path, QDateTime::currentDateTime());
    m_entries.clear();
    if (QFile::rename(path, aside))
        emit message(QStringLiteral("The list of unsaved changes %1 could not be read (%2); it was set aside as %3.")
                         .arg(QDir::toNativeSeparators(path), why, QFileInfo(aside).fileName()));
    else
        emit message(QStringLiteral("The list of unsaved changes %1 could not be read (%2) nor set aside; "
                                    "it is replaced at the next change.")
                         .arg(QDir::toNativeSeparators(path), why));
    emit changed(0);
}

bool KtChangeLedger::store()
{
    const QString path = FilePath();
    QString error;
    if (!QDir().mkpath(m_folder)) {
        error = QStringLiteral("cannot create the folder");
    } else {
        QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            for (const KtLedgerEntry &e : std::as_const(m_entries))
                file.write(KtLedgerRules::ToLine(e) + '\n');
            if (file.commit()) {
                m_writeFailed = false;
                return true;
            }
        }
        error = file.errorString();
    }
    if (!m_writeFailed)
        emit message(QStringLiteral("The list of unsaved changes could not be written to %1: %2")
                         .arg(QDir::toNativeSeparators(path), error));
    m_writeFailed = true;
    return false;
}

quint32 KtChangeLedger::upTimeAtLeast() const
{
    if (!m_upTime)
        return 0;
    if (!m_upTimeClock.isValid())
        return *m_upTime;
    const qint64 ticks = qint64(*m_upTime) + m_upTimeClock.elapsed() / 10 - UpTimeMarginTicks;
    return quint32(qBound<qint64>(0, ticks, 4294967295LL));
}

void KtChangeLedger::setUpTime(quint32 ticks)
{
    m_upTime = ticks;
    m_upTimeClock.start();
}

void KtChangeLedger::NoteUpTime(quint32 ticks)
{
    const bool restarted = m_upTime && KtLedgerRules::Rebooted(upTimeAtLeast(), ticks);
    setUpTime(ticks);
    if (restarted)
        Finish(End::Rebooted);
}

QString KtChangeLedger::EndText(End why)
{
    switch (why) {
    case End::Saved: return QStringLiteral("The changes were saved to the switch.");
    case End::Reverted: return QStringLiteral("The switch went back to its saved configuration; the changes are undone.");
    case End::Rebooted: break;
    }
    return QStringLiteral("The switch restarted with its saved configuration; the unsaved changes are lost.");
}

void KtChangeLedger::Finish(End why)
{
    const bool had = !m_entries.isEmpty();
    m_entries.clear();
    if (QFile::exists(FilePath()) && !QFile::remove(FilePath()))
        store();
    emit changed(0);
    if (had)
        emit ended(EndText(why));
}

bool KtChangeLedger::forThisSwitch(const KtSNMPRequest &request) const
{
    return request.Host == m_host && request.AgentPort == m_port;
}

void KtChangeLedger::AboutToWrite(KtSNMPRequest &request, QList<KtWrittenObject> &objects)
{
    if (!forThisSwitch(request))
        return;
    try {
        readBefore(request, objects);
    } catch (const KtException &) {
        // Without the value before, the change is still recorded, as unknown.
    } catch (const std::exception &) {
    }
}

// One GET of what the request has not read (and of the up-time while
// none is known); an object read before by the ledger keeps its first value.
void KtChangeLedger::readBefore(KtSNMPRequest &request, QList<KtWrittenObject> &objects)
{
    QList<int> wanted;
    for (int k = 0; k < objects.size(); ++k) {
        const KtWrittenObject &o = objects.at(k);
        if (o.OldKnown || o.Var < 0 || o.Var >= request.Vars.Count())
            continue;
        const QString &oid = o.Value.oid;
        if (oid == QLatin1String(SaveOid) || oid == QLatin1String(RebootOid) || oid == QLatin1String(ResetOid)
            || oid == QLatin1String(SystemResetOid))
            continue;
        if (std::any_of(m_entries.cbegin(), m_entries.cend(), [&oid](const KtLedgerEntry &e) { return e.Oid == oid; }))
            continue;
        wanted.append(k);
    }
    if (wanted.isEmpty())
        return;
    KtSNMPRequest read;
    copySettings(request, read);
    read.Vars.Kind = KtKind::MVT_SV;
    for (int k : std::as_const(wanted)) {
        const KtSNMPVar &var = request.Vars.Get(objects.at(k).Var);
        read.Vars.AppendVarShared(objects.at(k).Value.oid, var.Label, var.Type, KtAccess::ReadOnly, var.Options);
    }
    const bool withUpTime = !m_upTime;
    if (withUpTime)
        read.Vars.AppendVar(QString::fromLatin1(UpTimeOid), QStringLiteral("sysUpTime"), KtType::UInteger,
                            KtAccess::ReadOnly);
    try {
        read.Fetch(true);
    } catch (const KtException &e) {
        // A v1 agent refuses the whole GET for one object it lacks (a row
        // about to be created): that object did not exist.
        if (e.code() != -102 || wanted.size() != 1)
            throw;
        objects[wanted.first()].OldKnown = true;
        objects[wanted.first()].OldText = Null;
        return;
    }
    for (int j = 0; j < wanted.size(); ++j) {
        KtWrittenObject &o = objects[wanted.at(j)];
        o.OldKnown = true;
        o.OldText = read.Vars.Get(j).Value;
    }
    if (withUpTime) {
        bool ok = false;
        const quint32 ticks = read.Vars.Get(wanted.size()).Value.toUInt(&ok);
        if (ok)
            setUpTime(ticks);
    }
}

bool KtChangeLedger::deviceAction(const KtWrittenObject &object)
{
    const QString &oid = object.Value.oid;
    const qint64 v = object.Value.syntax == KtSyntax::Integer ? object.Value.integer : -1;
    if (oid == QLatin1String(SaveOid)) {
        if (v == 3)
            Finish(End::Saved);
        return true;
    }
    if (oid == QLatin1String(RebootOid) || oid == QLatin1String(SystemResetOid) || oid == QLatin1String(ResetOid)) {
        const bool restart = (oid == QLatin1String(RebootOid) && v == 1)
            || (oid == QLatin1String(SystemResetOid) && v == 3)
            || (oid == QLatin1String(ResetOid) && (v == 3 || v == 4));
        if (restart)
            Finish(End::Rebooted);
        else if (oid == QLatin1String(ResetOid) && v == 2)
            Finish(End::Reverted);
        return true;
    }
    return false;
}

void KtChangeLedger::Written(const KtSNMPRequest &request, const QList<KtWrittenObject> &objects)
{
    if (!forThisSwitch(request))
        return;
    bool touched = false;
    for (const KtWrittenObject &o : objects) {
        if (deviceAction(o))
            continue;
        if (o.Var < 0 || o.Var >= request.Vars.Count())
            continue;
        record(request, o);
        touched = true;
    }
    if (!touched)
        return;
    store();
    emit changed(Count());
}

void KtChangeLedger::record(const KtSNMPRequest &request, const KtWrittenObject &object)
{
    const KtSNMPVar &var = request.Vars.Get(object.Var);
    const QString newText = request.DisplayText(object.Var, object.Value);
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&object](const KtLedgerEntry &e) { return e.Oid == object.Value.oid; });
    if (found == m_entries.end()) {
        if (object.OldKnown && object.OldText == newText)
            return;
        KtLedgerEntry e;
        e.Oid = object.Value.oid;
        e.Label = var.Label;
        e.Secret = KtLedgerRules::IsSecret(var.Label, var.Type);
        e.OldKnown = object.OldKnown;
        e.Old = e.Secret ? QString::fromLatin1(KtLedgerRules::Mask) : object.OldText;
        m_entries.append(e);
        return record(request, object);
    }
    KtLedgerEntry &e = *found;
    // Back where it was before the first write: nothing left to save.
    if (!e.Secret && e.OldKnown && e.Old == newText) {
        m_entries.erase(found);
        return;
    }
    e.Time = QDateTime::currentDateTime();
    e.UpTime = upTimeAtLeast();
    e.Where = m_source ? m_source() : QString();
    e.Type = KtLedgerRules::SetType(object.Value);
    e.New = e.Secret ? QString::fromLatin1(KtLedgerRules::Mask) : newText;
    e.Value = e.Secret ? QString() : KtLedgerRules::SetValue(object.Value);
}
