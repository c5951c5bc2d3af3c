#include "shell/KtSiblingModule.h"

#include "shell/KtCommandLine.h"
#include "shell/KtDisplaySettings.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <tuple>

namespace KtSiblingModule {

KtSiblingCommand CommandLine(const QString &tableArgument, const QString &host, const KtDisplaySettings &settings,
                             const QString &extra)
{
    KtSiblingCommand command;
    const qsizetype underscore = tableArgument.indexOf(QLatin1Char('_'));
    if (tableArgument.startsWith(QLatin1String("/T")) && underscore > 2)
        command.Module = tableArgument.mid(2, underscore - 2);

    // The sibling gets every value; the text shown has the secrets masked.
    QStringList &a = command.Arguments;
    QStringList shown;
    const auto add = [&](const char *option, const QString &value, bool secret) {
        a << QLatin1String(option) + value;
        shown << QLatin1String(option) + (secret ? QLatin1String(KtCommandLine::Mask) : value);
    };
    add("/I", host, false);
    if (settings.Version == QLatin1String("3")) {
        const std::tuple<const char *, const QString *, bool> options[] = {
            {"/t", &settings.Port, false},          {"/v", &settings.Version, false},
            {"/d", &settings.ContextEngineID, false}, {"/m", &settings.SecurityModel, false},
            {"/n", &settings.SecurityName, false},  {"/l", &settings.SecurityLevel, false},
            {"/a", &settings.AuthProtocol, false},  {"/p", &settings.PrivProtocol, false},
            {"/A", &settings.AuthPassword, true},   {"/P", &settings.PrivPassword, true},
            {"/c", &settings.ContextName, false},
        };
        for (const auto &[option, value, secret] : options)
            add(option, *value, secret);
    } else {
        add("/R", settings.ReadCommunity, true);
        add("/W", settings.WriteCommunity, true);
    }
    a << tableArgument;
    shown << tableArgument;
    command.Text = command.Module + QLatin1Char(' ') + shown.join(QLatin1Char(' ')) + QLatin1Char(' ') + extra;
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

QString NotInstalledText(const QString &module, const QString &folder)
{
    return QStringLiteral("%1 module is not installed (looked in %2 and PATH)").arg(module, QDir::toNativeSeparators(folder));
}

} // namespace KtSiblingModule
