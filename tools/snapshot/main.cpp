// Backs up a switch's configuration to a file, or compares a file with the
// switch, without a window; for scripts.

#include "snapshot/KtSnapshot.h"
#include "snapshot/KtSnapshotCommand.h"

#include "errors/KtException.h"
#include "snmp/KtSNMPSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qsx4810-snapshot"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments();
    const QString program = args.takeFirst();
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        out << KtSnapshotCommand::Usage(program);
        return KtSnapshotCommand::Ok;
    }
    KtSnapshotCommand command;
    if (const QString e = command.parse(args, QProcessEnvironment::systemEnvironment()); !e.isEmpty()) {
        err << program << ": " << e << '\n' << KtSnapshotCommand::Usage(program);
        return KtSnapshotCommand::Failure;
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    try {
        QDir().mkpath(folder);
        KtSNMPSession::StartSession(folder);
    } catch (const KtException &e) {
        err << program << ": " << e.message() << Qt::endl;
        return KtSnapshotCommand::Failure;
    }
    const int status = command.run(out, err, KtSnapshot::ModuleVersion());
    KtSNMPSession::StopSession();
    return status;
}
