#pragma once

#include "snapshot/KtSnapshotLink.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class QTextStream;

// The command line of the snapshot program:
//   backup FILE HOST | compare FILE HOST, with options for the port, the
//   version and the SNMPv3 user; communities and pass phrases come from the
//   environment only, so that they never show in the process list.
// Exit status: 0 written or equal, 1 differences, 2 failure.
class KtSnapshotCommand
{
public:
    enum Exit { Ok = 0, Differences = 1, Failure = 2 };

    QString action;
    QString file;
    KtSnapshotLink link;

    // Empty on success, else the reason.
    QString parse(const QStringList &args, const QProcessEnvironment &env);
    static QString Usage(const QString &program);

    // Runs the parsed command; the SNMP session must be started.
    int run(QTextStream &out, QTextStream &err, const QString &moduleVersion) const;
};
