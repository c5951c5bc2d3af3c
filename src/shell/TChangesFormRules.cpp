#include "shell/TChangesFormRules.h"

#include "dialogs/generic/KtTableText.h"
#include "doctor/KtDoctorReport.h"
#include "errors/KtCatalogue.h"
#include "ledger/KtLedgerRules.h"
#include "snmp/KtSNMPSession.h"

#include <QRegularExpression>
#include <QStringList>

KtLedgerTarget KtLedgerTarget::FromSession()
{
    KtLedgerTarget t;
    t.Host = KtSNMPSession::Device().Host;
    t.Port = KtSNMPSession::Device().AgentPort;
    const KtSNMPSecurity &s = KtSNMPSession::Security();
    t.Version = s.Version;
    t.SecurityName = s.SecurityName;
    t.SecurityLevel = s.SecurityLevel;
    t.AuthProtocol = s.AuthProtocol;
    t.PrivProtocol = s.PrivProtocol;
    t.ContextName = KtSNMPSession::Scope().ContextName;
    return t;
}

namespace TChangesFormRules {

namespace {

// The agent's address as snmpset takes it; an IPv6 address needs brackets.
QString agentAddress(const KtLedgerTarget &t)
{
    if (t.Host.contains(QLatin1Char(':')))
        return QStringLiteral("udp6:[%1]:%2").arg(t.Host).arg(t.Port);
    return QStringLiteral("%1:%2").arg(t.Host).arg(t.Port);
}

// Who writes: the community and the pass phrases are left for the operator to fill in.
QString securityOptions(const KtLedgerTarget &t)
{
    if (t.Version != 3)
        return QStringLiteral("-v %1 -c '<write community>'")
            .arg(t.Version == 0 ? QStringLiteral("1") : QStringLiteral("2c"));
    QString text = QStringLiteral("-v 3 -u ") + KtDoctorNames::ShellWord(t.SecurityName);
    if (t.SecurityLevel >= 2) {
        text += QStringLiteral(" -l %1 -a %2 -A '<auth pass phrase>'")
                    .arg(KtDoctorNames::Level(t.SecurityLevel), KtDoctorNames::Auth(t.AuthProtocol));
        if (t.SecurityLevel >= 3)
            text += QStringLiteral(" -x %1 -X '<priv pass phrase>'").arg(KtDoctorNames::Priv(t.PrivProtocol));
    } else {
        text += QStringLiteral(" -l noAuthNoPriv");
    }
    if (!t.ContextName.isEmpty())
        text += QStringLiteral(" -n ") + KtDoctorNames::ShellWord(t.ContextName);
    return text;
}

// A spreadsheet must not take a cell for a formula; a negative number stays one.
QString defused(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^-[0-9.]+$"));
    if (!text.isEmpty()
        && (QStringLiteral("=+@\t\r").contains(text.at(0))
            || (text.at(0) == QLatin1Char('-') && !number.match(text).hasMatch())))
        return QLatin1Char('\'') + text;
    return text;
}

} // namespace

QString OldText(const KtLedgerEntry &e)
{
    if (e.Secret)
        return QString::fromLatin1(KtLedgerRules::Mask);
    return e.OldKnown ? e.Old : QString::fromLatin1(Unknown);
}

QString SetCommands(const QList<KtLedgerEntry> &entries, const KtLedgerTarget &target)
{
    const QString head = QStringLiteral("snmpset ") + securityOptions(target) + QLatin1Char(' ') + agentAddress(target);
    QString text;
    for (const KtLedgerEntry &e : entries) {
        // A secret is never written down: its place names what to type.
        const QString value = e.Secret ? QStringLiteral("'<%1>'").arg(QString(e.Label).remove(QLatin1Char('\'')))
                                       : KtDoctorNames::ShellWord(e.Value);
        text += head + QLatin1Char(' ') + e.Oid + QLatin1Char(' ') + e.Type + QLatin1Char(' ') + value
            + QLatin1Char('\n');
    }
    return text;
}

QString CsvText(const QList<KtLedgerEntry> &entries)
{
    QList<QStringList> rows{{QStringLiteral("Time"), QStringLiteral("Where"), QStringLiteral("Object"),
                             QStringLiteral("OID"), QStringLiteral("Old"), QStringLiteral("New")}};
    for (const KtLedgerEntry &e : entries) {
        QStringList cells{e.Time.toString(Qt::ISODate), e.Where, e.Label, e.Oid, OldText(e),
                          e.Secret ? QString::fromLatin1(KtLedgerRules::Mask) : e.New};
        for (QString &c : cells)
            c = defused(c);
        rows.append(cells);
    }
    return KtTableText::CsvText(rows);
}

QString CountText(int count)
{
    return QStringLiteral("%1 unsaved changes").arg(count);
}

QString ExitText(int count)
{
    QString text = QStringLiteral("Are you sure to exit?");
    if (count > 0)
        text += QStringLiteral("\n%1 changes are not saved to the switch and will be lost at its next restart.")
                    .arg(count);
    return text;
}

QString RevertQuestion(int count)
{
    return QStringLiteral("Return the switch to its saved configuration? The %1 changes listed are undone.")
        .arg(count);
}

QString RevertFailureText(int code, const QString &message)
{
    if (code == 0)
        return {};
    if (code == KtTimeoutCode)
        return QStringLiteral("No answer to the revert request: the changes are kept in the list.");
    return QStringLiteral("The switch refused the revert (%1): the changes are kept in the list.").arg(message);
}

} // namespace TChangesFormRules
