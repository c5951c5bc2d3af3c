#pragma once

#include "ledger/KtLedgerEntry.h"

#include <QList>
#include <QString>

// Where copied commands send: the session without its secrets.
struct KtLedgerTarget
{
    QString Host = QStringLiteral("127.0.0.1");
    quint16 Port = 161;
    quint8 Version = 1;  // 0 v1, 1 v2c, 3 v3
    QString SecurityName;
    qint32 SecurityLevel = 1;
    qint32 AuthProtocol = 1;
    qint32 PrivProtocol = 1;
    QString ContextName;

    static KtLedgerTarget FromSession();
};

// The rules of the Changes window, without widgets.
namespace TChangesFormRules {

inline constexpr const char *Unknown = "(unknown)";

// One snmpset line per change; communities and pass phrases stay placeholders.
QString SetCommands(const QList<KtLedgerEntry> &entries, const KtLedgerTarget &target);
// A header line and one line per change (time, where, object, OID, old, new).
QString CsvText(const QList<KtLedgerEntry> &entries);
// The old value as the window shows it.
QString OldText(const KtLedgerEntry &entry);

QString CountText(int count);
QString ExitText(int count);
QString RevertQuestion(int count);
// What the window says after the revert's set (its code and message);
// empty when the switch took it.
QString RevertFailureText(int code, const QString &message);

} // namespace TChangesFormRules
