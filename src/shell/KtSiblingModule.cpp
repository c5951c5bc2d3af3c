#include "shell/KtSiblingModule.h"

#include "shell/KtDisplaySettings.h"

#include <QProcess>
#include <QStandardPaths>

namespace KtSiblingModule {

KtSiblingCommand CommandLine(const QString &tableArgument, const QString &host, const KtDisplaySettings &settings,
                             const QString &extra)
{
    KtSiblingCommand command;
    const qsizetype underscore = tableArgument.indexOf(QLatin1Char('_'));
    if (tableArgument.startsWith(QLatin1String("/T")) && underscore > 2)
        command.Module = tableArgument.mid(2, underscore - 2);

    QStringList &a = command.Arguments;
    a << QLatin1String("/I") + host;
    if (settings.Version == QLatin1String("3")) {
        const QPair<const char *, const QString *> options[] = {
            {"/t", &settings.Port},          {"/v", &settings.Version},       {"/d", &settings.ContextEngineID},
            {"/m", &settings.SecurityModel}, {"/n", &settings.SecurityName},  {"/l", &settings.SecurityLevel},
            {"/a", &settings.AuthProtocol},  {"/p", &settings.PrivProtocol},  {"/A", &settings.AuthPassword},
            {"/P", &settings.PrivPassword},  {"/c", &settings.ContextName},
        };
        for (const auto &[option, value] : options)
            a << QLatin1String(option) + *value;
    } else {
        a << QLatin1String("/R") + settings.ReadCommunity << QLatin1String("/W") + settings.WriteCommunity;
    }
    a << tableArgument;
    command.Text = command.Module + QLatin1Char(' ') + a.join(QLatin1Char(' ')) + QLatin1Char(' ') + extra;
    // The extra text is empty for every menu entry; an empty argument would
    // only reach the sibling as a blank word.
    if (!extra.isEmpty())
        a << extra;
    return command;
}

QString Locate(const QString &module, const QString &folder)
{
    if (module.isEmpty())
        return {};
    if (!folder.isEmpty())
        if (QString beside = QStandardPaths::findExecutable(module, {folder}); !beside.isEmpty())
            return beside;
    return QStandardPaths::findExecutable(module);
}

bool Start(const KtSiblingCommand &command, const QString &folder, QString *reason)
{
    if (command.Module.isEmpty()) {
        *reason = QStringLiteral("the table argument names no module");
        return false;
    }
    const QString program = Locate(command.Module, folder);
    if (program.isEmpty()) {
        *reason = QStringLiteral("no program \"%1\" beside this one or on PATH").arg(command.Module);
        return false;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments(command.Arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        *reason = process.errorString();
        return false;
    }
    return true;
}

QString FailureText(const QString &module, const QString &reason)
{
    return QStringLiteral("%1 could not be started: %2").arg(module.isEmpty() ? QStringLiteral("Sibling module") : module,
                                                              reason);
}

} // namespace KtSiblingModule
