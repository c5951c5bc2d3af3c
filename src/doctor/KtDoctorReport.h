#pragma once

#include "errors/KtDoctorTexts.h"

#include <QDateTime>
#include <QList>
#include <QString>

struct KtSnmpTarget;

// The settings a connection test runs with: the running session's, or
// those typed into the settings dialog before they are saved.
struct KtDoctorSettings
{
    QString host;
    quint16 port = 161;          // 0: not a valid port
    quint8 version = 0;          // 0 v1, 1 v2c, 3 v3
    QString readCommunity;
    QString writeCommunity;
    qint32 securityLevel = 1;    // 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv
    QString securityName;
    QString authPassword;
    QString privPassword;
    qint32 authProtocol = 1;
    qint32 privProtocol = 1;
    QString contextName;
    QString contextEngineID;
    quint32 timeout = 200;       // units of 10 ms
    quint32 retries = 1;

    // The process-wide session records and time-out, one retry as every request has.
    static KtDoctorSettings FromSession();

    // The longest a step may take: time-out x (retries + 1).
    qint64 StepBoundMs() const;
    // The same settings with every community and pass phrase blanked.
    KtDoctorSettings WithoutSecrets() const;
};

// Names the way the Net-SNMP tools spell them.
namespace KtDoctorNames {
QString Version(quint8 version);            // "SNMPv1", "SNMPv2c", "SNMPv3"
QString Level(qint32 level);                // "noAuthNoPriv", "authNoPriv", "authPriv"
QString Auth(qint32 code);                  // "MD5", "SHA", ... "none"
QString Priv(qint32 code);                  // "DES", "AES", ... "IDEA", "none"
// A word as a POSIX shell reads it back: as it is, or in single quotes.
QString ShellWord(const QString &word);
// "MD5/DES", "SHA" or "no authentication", by level.
QString Protocols(qint32 level, qint32 auth, qint32 priv);
} // namespace KtDoctorNames

// The Net-SNMP command that makes the same exchange, every community and
// pass phrase written as ****. setValue: the octets of a set of a string.
QString KtNetSnmpCommand(const KtSnmpTarget &target, bool set, const QString &oid, const QByteArray &setValue = {});

struct KtDoctorStep
{
    enum Kind { Resolve, Port, Discovery, User, Read, Write };
    enum State { Waiting, Running, Passed, Failed, NotRun };

    Kind kind = Resolve;
    State state = Waiting;
    qint64 elapsedMs = 0;
    KtDoctorTexts::Entry cause = KtDoctorTexts::StepFailed;
    QString sentence;  // the filled catalogue text
    QString command;   // failed steps: the equivalent Net-SNMP command line

    int Number() const { return int(kind) + 1; }
    QString Title() const { return Title(kind); }
    static QString Title(Kind kind);
    static QString StateText(State state);
};

// What a test found, step by step; never holds a community or pass phrase.
struct KtDoctorReport
{
    KtDoctorSettings settings;  // without secrets
    QDateTime started;
    QList<KtDoctorStep> steps;  // the ladder for the settings' version, in order
    bool finished = false;

    // The first failed step; null when none failed.
    const KtDoctorStep *FailedStep() const;
    bool Passed() const { return finished && !FailedStep(); }

    // One line: every step passed, or which step failed and why.
    QString Summary() const;
    // The whole report as text, with the command line of the failing step.
    QString Text() const;
};
