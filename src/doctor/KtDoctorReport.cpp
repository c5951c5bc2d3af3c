#include "doctor/KtDoctorReport.h"

#include "snmp/KtSNMPSession.h"
#include "snmp/KtSnmpEngine.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

namespace {

const QString Secret = QStringLiteral("****");

QString seconds(quint32 timeout)
{
    return QString::number(double(qMax<quint32>(timeout, 1)) / 100.0, 'g', 6);
}

} // namespace

KtDoctorSettings KtDoctorSettings::FromSession()
{
    const KtSNMPDevice &device = KtSNMPSession::Device();
    const KtSNMPScope &scope = KtSNMPSession::Scope();
    const KtSNMPSecurity &security = KtSNMPSession::Security();
    KtDoctorSettings s;
    s.host = device.Host;
    s.port = device.AgentPort;
    s.version = security.Version;
    s.readCommunity = security.ReadCommunity;
    s.writeCommunity = security.WriteCommunity;
    s.securityLevel = security.SecurityLevel;
    s.securityName = security.SecurityName;
    s.authPassword = security.AuthPassword;
    s.privPassword = security.PrivPassword;
    s.authProtocol = security.AuthProtocol;
    s.privProtocol = security.PrivProtocol;
    s.contextName = scope.ContextName;
    s.contextEngineID = scope.ContextEngineID;
    s.timeout = KtSNMPSession::Timeout();
    s.retries = 1;
    return s;
}

qint64 KtDoctorSettings::StepBoundMs() const
{
    return qint64(qMax<quint32>(timeout, 1)) * 10 * (qint64(retries) + 1);
}

KtDoctorSettings KtDoctorSettings::WithoutSecrets() const
{
    KtDoctorSettings s = *this;
    s.readCommunity.clear();
    s.writeCommunity.clear();
    s.authPassword.clear();
    s.privPassword.clear();
    return s;
}

namespace KtDoctorNames {

QString Version(quint8 version)
{
    return version == 3 ? QStringLiteral("SNMPv3") : version == 1 ? QStringLiteral("SNMPv2c") : QStringLiteral("SNMPv1");
}

QString ShellWord(const QString &word)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_@%+=:,./-]+$"));
    if (plain.match(word).hasMatch())
        return word;
    QString quoted = word;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString Level(qint32 level)
{
    return level >= 3 ? QStringLiteral("authPriv") : level == 2 ? QStringLiteral("authNoPriv")
                                                                : QStringLiteral("noAuthNoPriv");
}

QString Auth(qint32 code)
{
    switch (code) {
    case 1: return QStringLiteral("none");
    case 2: return QStringLiteral("MD5");
    case 3: return QStringLiteral("SHA");
    case 4: return QStringLiteral("SHA-224");
    case 5: return QStringLiteral("SHA-256");
    case 6: return QStringLiteral("SHA-384");
    case 7: return QStringLiteral("SHA-512");
    default: return QStringLiteral("code %1").arg(code);
    }
}

QString Priv(qint32 code)
{
    switch (code) {
    case 1: return QStringLiteral("none");
    case 2: return QStringLiteral("DES");
    case 4: return QStringLiteral("AES");
    case 5: return QStringLiteral("AES-192");
    case 6: return QStringLiteral("AES-256");
    case 9: return QStringLiteral("IDEA");
    default: return QStringLiteral("code %1").arg(code);
    }
}

QString Protocols(qint32 level, qint32 auth, qint32 priv)
{
    if (level >= 3)
        return Auth(auth) + QLatin1Char('/') + Priv(priv);
    if (level == 2)
        return Auth(auth);
    return QStringLiteral("no authentication");
}

} // namespace KtDoctorNames

QString KtNetSnmpCommand(const KtSnmpTarget &target, bool set, const QString &oid, const QByteArray &setValue)
{
    QStringList words{set ? QStringLiteral("snmpset") : QStringLiteral("snmpget")};
    if (target.version == 3) {
        words << QStringLiteral("-v") << QStringLiteral("3") << QStringLiteral("-l")
              << KtDoctorNames::Level(target.securityLevel) << QStringLiteral("-u") << KtDoctorNames::ShellWord(target.securityName);
        if (target.securityLevel >= 2)
            words << QStringLiteral("-a") << KtDoctorNames::ShellWord(KtDoctorNames::Auth(target.authProtocol))
                  << QStringLiteral("-A") << Secret;
        if (target.securityLevel >= 3)
            words << QStringLiteral("-x") << KtDoctorNames::ShellWord(KtDoctorNames::Priv(target.privProtocol))
                  << QStringLiteral("-X") << Secret;
        if (!target.contextName.isEmpty())
            words << QStringLiteral("-n") << KtDoctorNames::ShellWord(target.contextName);
        if (!target.contextEngineID.isEmpty())
            words << QStringLiteral("-E") << KtDoctorNames::ShellWord(target.contextEngineID);
    } else {
        words << QStringLiteral("-v") << (target.version == 1 ? QStringLiteral("2c") : QStringLiteral("1"))
              << QStringLiteral("-c") << Secret;
    }
    words << QStringLiteral("-t") << seconds(target.timeout) << QStringLiteral("-r")
          << QString::number(target.retries)
          << KtDoctorNames::ShellWord(QStringLiteral("udp:%1:%2").arg(target.host).arg(target.port)) << oid;
    if (set) {
        const QString text = QString::fromUtf8(setValue);
        bool printable = text.toUtf8() == setValue;
        for (QChar c : text)
            printable = printable && c.isPrint();
        if (printable)
            words << QStringLiteral("s") << KtDoctorNames::ShellWord(text);
        else
            words << QStringLiteral("x") << KtDoctorNames::ShellWord(QString::fromLatin1(setValue.toHex().toUpper()));
    }
    return words.join(QLatin1Char(' '));
}

QString KtDoctorStep::Title(Kind kind)
{
    switch (kind) {
    case Resolve: return QStringLiteral("Host name");
    case Port: return QStringLiteral("UDP port");
    case Discovery: return QStringLiteral("SNMPv3 engine");
    case User: return QStringLiteral("SNMPv3 user and keys");
    case Read: return QStringLiteral("Read");
    case Write: return QStringLiteral("Write");
    }
    return {};
}

QString KtDoctorStep::StateText(State state)
{
    switch (state) {
    case Waiting: return QStringLiteral("waiting");
    case Running: return QStringLiteral("running");
    case Passed: return QStringLiteral("passed");
    case Failed: return QStringLiteral("FAILED");
    case NotRun: return QStringLiteral("not run");
    }
    return {};
}

const KtDoctorStep *KtDoctorReport::FailedStep() const
{
    for (const KtDoctorStep &step : steps)
        if (step.state == KtDoctorStep::Failed)
            return &step;
    return nullptr;
}

QString KtDoctorReport::Summary() const
{
    namespace T = KtDoctorTexts;
    if (const KtDoctorStep *failed = FailedStep())
        return T::Fill(T::Text(T::SummaryFailed),
                       {{QStringLiteral("STEP"), QStringLiteral("%1 (%2)").arg(failed->Number()).arg(failed->Title())},
                        {QStringLiteral("CAUSE"), failed->sentence}});
    if (finished)
        return T::Text(T::AllPassed);
    return T::Fill(T::Text(T::Running), {{QStringLiteral("HOST"), settings.host}});
}

QString KtDoctorReport::Text() const
{
    const KtDoctorSettings &s = settings;
    QString how = KtDoctorNames::Version(s.version);
    if (s.version == 3)
        how += QStringLiteral(" user %1 (%2, %3)")
                   .arg(s.securityName, KtDoctorNames::Level(s.securityLevel),
                        KtDoctorNames::Protocols(s.securityLevel, s.authProtocol, s.privProtocol));
    QStringList lines;
    lines << QStringLiteral("Test Connection: %1 port %2, %3, time-out %4 s, %5 %6 (at most %7 s a step)")
                 .arg(s.host)
                 .arg(s.port)
                 .arg(how, seconds(s.timeout))
                 .arg(s.retries)
                 .arg(s.retries == 1 ? QStringLiteral("retry") : QStringLiteral("retries"))
                 .arg(double(s.StepBoundMs()) / 1000.0, 0, 'g', 6);
    if (started.isValid())
        lines << QStringLiteral("Started %1").arg(started.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    lines << QString();
    int titleWidth = 0;
    for (const KtDoctorStep &step : steps)
        titleWidth = qMax(titleWidth, int(step.Title().size()));
    for (const KtDoctorStep &step : steps) {
        QString line = QStringLiteral("%1. %2  %3")
                           .arg(step.Number())
                           .arg(step.Title(), -titleWidth)
                           .arg(KtDoctorStep::StateText(step.state), -7);
        if (step.state == KtDoctorStep::Passed || step.state == KtDoctorStep::Failed)
            line += QStringLiteral("  %1 ms  %2").arg(step.elapsedMs, 5).arg(step.sentence);
        lines << line.trimmed();
    }
    lines << QString() << Summary();
    if (const KtDoctorStep *failed = FailedStep(); failed && !failed->command.isEmpty())
        lines << QString() << QStringLiteral("Net-SNMP command of the failing step (secrets shown as ****):")
              << failed->command;
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
