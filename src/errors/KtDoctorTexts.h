#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The sentences of the connection test, one per outcome of a step. They
// follow the two status-line templates in the catalogue "snmp.msg" and can
// be replaced like every other message; a loaded file that ends before an
// entry leaves that entry's built-in text in force.
namespace KtDoctorTexts {

enum Entry {
    HostIsAddress,
    HostResolved,
    HostNotResolved,
    HostBadAddress,
    HostSlow,
    BadPort,
    PortAnswers,
    PortRefused,
    PortSilent,
    SendFailed,
    EngineFound,
    NoSnmpV3,
    UserAccepted,
    UserAcceptedResynced,
    UnknownUser,
    WrongAuth,
    WrongPriv,
    LevelNotConfigured,
    NotInTimeWindow,
    UserSilent,
    UserRefused,
    PrivUnavailable,
    AuthUnavailable,
    AuthPassShort,
    PrivPassShort,
    LevelNeedsProtocol,
    UnknownContext,
    EngineChanged,
    UserBusy,
    ReadAccepted,
    WrongCommunity,
    ReadRefused,
    WriteAccepted,
    ReadOnly,
    WrongWriteCommunity,
    WriteSilent,
    WriteRefused,
    NoSysContact,
    StepFailed,
    AllPassed,
    SummaryFailed,
    Running,
    Count
};

// Position of the first sentence in the catalogue "snmp.msg".
inline constexpr int FirstEntry = 2;

QStringList BuiltIn();

// The catalogue text of entry.
QString Text(Entry entry);

// text with each [NAME] of fields replaced by its value, in one pass, so a
// value that looks like a placeholder stays as it is.
QString Fill(const QString &text, const QList<QPair<QString, QString>> &fields);

} // namespace KtDoctorTexts
