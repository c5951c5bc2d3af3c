#include "snapshot/KtSnapshotCommand.h"

#include "snapshot/KtSnapshot.h"
#include "snapshot/KtSnapshotBackup.h"
#include "snapshot/KtSnapshotCompare.h"

#include "snmp/KtSNMPSession.h"

#include <QTextStream>

namespace {

bool number(const QString &text, int low, int high, int &out)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        return false;
    out = v;
    return true;
}

} // namespace

QString KtSnapshotCommand::Usage(const QString &program)
{
    return QStringLiteral(
               "usage: %1 backup|compare FILE HOST [options]\n"
               "  -p, --port N          agent port (161)\n"
               "  -v, --version V       1, 2c or 3 (2c)\n"
               "  -t, --timeout S       seconds to wait for an answer (2)\n"
               "  -u, --user NAME       SNMPv3 user\n"
               "  -l, --level L         noAuthNoPriv, authNoPriv or authPriv\n"
               "  -a, --auth P          MD5, SHA, SHA-224, SHA-256, SHA-384 or SHA-512\n"
               "  -x, --priv P          DES, AES, AES-192 or AES-256\n"
               "Environment: QSX_READ_COMMUNITY, QSX_WRITE_COMMUNITY, QSX_AUTH_PASSPHRASE, QSX_PRIV_PASSPHRASE.\n"
               "Exit status: 0 written or equal, 1 differences, 2 failure.\n")
        .arg(program);
}

QString KtSnapshotCommand::parse(const QStringList &args, const QProcessEnvironment &env)
{
    const KtSNMPSecurity defaults;
    link = KtSnapshotLink();
    link.target.version = 1;
    link.target.timeout = 200;
    link.readCommunity = env.value(QStringLiteral("QSX_READ_COMMUNITY"), defaults.ReadCommunity);
    link.writeCommunity = env.value(QStringLiteral("QSX_WRITE_COMMUNITY"), defaults.WriteCommunity);
    link.target.authPassword = env.value(QStringLiteral("QSX_AUTH_PASSPHRASE"));
    link.target.privPassword = env.value(QStringLiteral("QSX_PRIV_PASSPHRASE"));
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (!a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            positional.append(a);
            continue;
        }
        auto is = [&](const char *s, const char *l) { return a == QLatin1String(s) || a == QLatin1String(l); };
        if (is("--community", "-c") || is("--passphrase", "-A") || is("--priv-passphrase", "-X"))
            return QStringLiteral("%1: communities and pass phrases are read from the environment only").arg(a);
        if (i + 1 >= args.size())
            return QStringLiteral("%1 needs a value").arg(a);
        const QString v = args.at(++i);
        int n = 0;
        if (is("-p", "--port")) {
            if (!number(v, 1, 65535, n))
                return QStringLiteral("bad port \"%1\"").arg(v);
            link.target.port = quint16(n);
        } else if (is("-v", "--version")) {
            static const QStringList versions = {QStringLiteral("1"), QStringLiteral("2c"), QStringLiteral("3")};
            const int k = int(versions.indexOf(v));
            if (k < 0)
                return QStringLiteral("bad version \"%1\" (1, 2c or 3)").arg(v);
            link.target.version = quint8(k == 2 ? 3 : k);
        } else if (is("-t", "--timeout")) {
            if (!number(v, 1, 600, n))
                return QStringLiteral("bad time-out \"%1\"").arg(v);
            link.target.timeout = quint32(n * 100);
        } else if (is("-u", "--user")) {
            link.target.securityName = v;
        } else if (is("-l", "--level")) {
            static const QStringList levels = {QStringLiteral("noAuthNoPriv"), QStringLiteral("authNoPriv"),
                                               QStringLiteral("authPriv")};
            const int k = int(levels.indexOf(v));
            if (k < 0)
                return QStringLiteral("bad level \"%1\"").arg(v);
            link.target.securityLevel = k + 1;
        } else if (is("-a", "--auth")) {
            static const QStringList protocols = {QStringLiteral("MD5"), QStringLiteral("SHA"),
                                                  QStringLiteral("SHA-224"), QStringLiteral("SHA-256"),
                                                  QStringLiteral("SHA-384"), QStringLiteral("SHA-512")};
            const int k = int(protocols.indexOf(v.toUpper()));
            if (k < 0)
                return QStringLiteral("bad authentication protocol \"%1\"").arg(v);
            link.target.authProtocol = k + 2;
        } else if (is("-x", "--priv")) {
            static const QStringList protocols = {QStringLiteral("DES"), QStringLiteral("AES"),
                                                  QStringLiteral("AES-192"), QStringLiteral("AES-256")};
            const int k = int(protocols.indexOf(v.toUpper()));
            if (k < 0)
                return QStringLiteral("bad privacy protocol \"%1\"").arg(v);
            link.target.privProtocol = k == 0 ? 2 : k + 3;
        } else {
            return QStringLiteral("unknown option %1").arg(a);
        }
    }
    if (positional.size() != 3)
        return QStringLiteral("expected an action, a file and a host");
    action = positional.at(0);
    file = positional.at(1);
    link.target.host = positional.at(2);
    if (action != QLatin1String("backup") && action != QLatin1String("compare"))
        return QStringLiteral("unknown action \"%1\" (backup or compare)").arg(action);
    if (link.target.version == 3) {
        if (link.target.securityName.isEmpty())
            return QStringLiteral("SNMPv3 needs --user");
        if (link.target.securityLevel >= 2 && link.target.authPassword.isEmpty())
            return QStringLiteral("the level needs QSX_AUTH_PASSPHRASE");
        if (link.target.securityLevel == 3 && link.target.privPassword.isEmpty())
            return QStringLiteral("the level needs QSX_PRIV_PASSPHRASE");
        if (link.target.securityLevel >= 2 && link.target.authProtocol == 1)
            link.target.authProtocol = 2;
        if (link.target.securityLevel == 3 && link.target.privProtocol == 1)
            link.target.privProtocol = 2;
    }
    return {};
}

int KtSnapshotCommand::run(QTextStream &out, QTextStream &err, const QString &moduleVersion) const
{
    KtSnapshot snapshot;
    if (action == QLatin1String("compare")) {
        QStringList errors;
        if (!snapshot.load(file, &errors)) {
            err << errors.join(QLatin1Char('\n')) << Qt::endl;
            return Failure;
        }
    }
    KtSnapshot live;
    QString error;
    if (!KtSnapshotBackup::Read(link, moduleVersion, live, &error)) {
        err << QStringLiteral("%1: %2").arg(link.target.host, error) << Qt::endl;
        return Failure;
    }
    if (action == QLatin1String("backup")) {
        if (!live.save(file, &error)) {
            err << error << Qt::endl;
            return Failure;
        }
        out << QStringLiteral("%1: %2 objects, %3 groups, %4 absent")
                   .arg(file)
                   .arg(live.values.size())
                   .arg(live.present.size())
                   .arg(live.absent.size())
            << Qt::endl;
        return Ok;
    }
    const QList<KtSnapshotDifference> differences = KtSnapshotCompare::Compare(snapshot, live);
    for (const KtSnapshotDifference &d : differences)
        out << d.toLine() << '\n';
    out.flush();
    return differences.isEmpty() ? Ok : Differences;
}
