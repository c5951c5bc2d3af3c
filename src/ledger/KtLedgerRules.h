#pragma once

#include "ledger/KtLedgerEntry.h"

#include <QByteArray>
#include <QString>

struct KtVarBind;

// The rules of the change ledger, without widgets or files.
namespace KtLedgerRules {

inline constexpr const char *Mask = "****";

// $XDG_STATE_HOME/qsx4810, by default ~/.local/state/qsx4810.
QString StateFolder();
// One file per switch: its address, and the port when it is not 161.
QString FileName(const QString &host, quint16 port);
// The name a damaged file is set aside under, stamped with the time.
QString AsideName(const QString &fileName, const QDateTime &when);

// One JSON object on one line, without the line end.
QByteArray ToLine(const KtLedgerEntry &entry);
// False, with the reason, when the line is no ledger line.
bool FromLine(const QByteArray &line, KtLedgerEntry &entry, QString *why);

// Pass phrases, keys and communities: string objects named so.
bool IsSecret(const QString &label, quint32 type);
// How snmpset takes the value of a varbind: type letter and value text.
QString SetType(const KtVarBind &vb);
QString SetValue(const KtVarBind &vb);

// An up-time lower than one known before: the switch restarted in between.
bool Rebooted(quint32 known, quint32 now);

} // namespace KtLedgerRules
