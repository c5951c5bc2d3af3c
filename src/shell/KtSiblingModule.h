#pragma once

#include <QString>
#include <QStringList>

struct KtDisplaySettings;

// A sibling module program (EthernetLike, Bridge, VLan, Rmon, Layer3)
// started for a table this module does not show itself, with the same
// SNMP settings. The switches and their order are what the siblings parse.
struct KtSiblingCommand
{
    QString Module;          // empty when the table argument names none
    QStringList Arguments;   // one per switch, so blanks stay inside their value
    QString Text;            // the whole line as one text, communities and pass phrases as ****; ends with a blank
};

namespace KtSiblingModule {

// tableArgument is "/T<Module>_<table>"; extra follows it after a blank.
KtSiblingCommand CommandLine(const QString &tableArgument, const QString &host, const KtDisplaySettings &settings,
                             const QString &extra = {});

// The program beside ours (in folder), else on PATH; empty when neither.
QString Locate(const QString &module, const QString &folder);

// Starts the program and returns at once. False with the reason when it
// cannot be started.
bool Start(const KtSiblingCommand &command, const QString &folder, QString *reason);

// The status text for a start that failed.
QString FailureText(const QString &module, const QString &reason);

// Why an entry of module is disabled when Locate finds no program.
QString NotInstalledText(const QString &module, const QString &folder);

} // namespace KtSiblingModule
