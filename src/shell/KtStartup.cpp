#include "shell/KtStartup.h"

#include "shell/KtCommandLine.h"
#include "shell/KtProfile.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPSession.h"
#include "values/widgets/KtMessageService.h"

#include <QDir>
#include <QHostAddress>
#include <QHostInfo>

#include <cstdio>

namespace {

KtStartupResult failed(QWidget *owner, const QString &message, bool warn, const std::function<void()> &before)
{
    if (before)
        before();
    KtStartup::ShowFailure(owner, message, warn);
    KtStartupResult result;
    result.ExitCode = 1;
    return result;
}

KtStartupResult runSteps(const QStringList &arguments, const QString &executableFolder, QWidget *owner,
                         const std::function<void()> &before)
{
    KtStartupResult result;
    // The boots file goes to the current folder.
    KtSNMPSession::StartSession(QString());

    result.InstallationMode = KtStartup::IsInstallationFolder(executableFolder);
    KtCatalogue::LoadAll(QDir(executableFolder).filePath(QStringLiteral("errMSg")));
    KtSNMPSession::SetTimeout(KtStartup::SessionTimeout);

    // Nothing below would be used: the program ends here.
    if (arguments.isEmpty())
        return failed(owner, QStringLiteral("No parameter input"), false, before);

    const KtCommandLine::Outcome outcome = KtCommandLine::Apply(
        arguments, &KtStartup::LookupIPv4, KtSNMPSession::Device(), KtSNMPSession::Scope(),
        KtSNMPSession::Security());
    if (outcome.HostFailed)
        return failed(owner, QStringLiteral("Error Host Name!"), false, before);
    if (outcome.Error)
        return failed(owner, outcome.Error->Message(), true, before);

    result.ProfilePath = KtProfile::PathFor(result.InstallationMode, executableFolder,
                                            KtSNMPSession::Device().Host);
    int bulkRepetitions = -1;
    result.ProfileLoaded = KtProfile::LoadProfile(result.ProfilePath, KtSNMPSession::Device(),
                                                  KtSNMPSession::Scope(), KtSNMPSession::Security(), &bulkRepetitions);
    KtSNMPSession::SetBulkRepetitions(bulkRepetitions);
    result.Display = KtDisplaySettings::FromSession();
    // The title that found no running instance is the caption, so a later
    // start for the same host finds this one.
    result.HostText = KtStartup::WindowHost(arguments);
    result.Title = KtCommandLine::TitleFor(result.HostText);
    result.Proceed = true;
    return result;
}

} // namespace

KtStartupResult KtStartup::Run(const QStringList &arguments, const QString &executableFolder, QWidget *owner,
                               const std::function<void()> &beforeFailure)
{
    try {
        return runSteps(arguments, executableFolder, owner, beforeFailure);
    } catch (const KtException &e) {
        return failed(owner, e.message(), true, beforeFailure);
    } catch (const std::exception &e) {
        return failed(owner, QString::fromLocal8Bit(e.what()), true, beforeFailure);
    }
}

QString KtStartup::WindowHost(const QStringList &arguments)
{
    QString host = KtCommandLine::HostText(arguments);
    // An argument holding /I further in still names the host (search form).
    if (host.isEmpty()) {
        for (const QString &argument : arguments) {
            QString value;
            if (KtCommandLine::SearchValue(argument, QStringLiteral("/I"), &value) && !value.isEmpty())
                host = value;
        }
    }
    return host.isEmpty() ? KtSNMPDevice().Host : host;
}

QString KtStartup::GuardTitle(const QStringList &arguments)
{
    return arguments.isEmpty() ? QString() : KtCommandLine::TitleFor(WindowHost(arguments));
}

void KtStartup::ShowFailure(QWidget *owner, const QString &message, bool warn)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(KtMessageService::DefaultCaption()), qPrintable(message));
    std::fflush(stderr);
    if (warn)
        KtMessageService::Warn(owner, message);
    else
        KtMessageService::Inform(owner, message);
}

bool KtStartup::IsInstallationFolder(const QString &executableFolder)
{
    return QDir(executableFolder).dirName() == QLatin1String(InstallationFolderName);
}

QString KtStartup::LookupIPv4(const QString &host)
{
    if (host.isEmpty())
        return {};
    // The reserved domain never resolves; asking a name server for it would
    // only send the name off the machine.
    const QString name = host.endsWith(QLatin1Char('.')) ? host.chopped(1) : host;
    if (name.compare(QLatin1String("invalid"), Qt::CaseInsensitive) == 0
        || name.endsWith(QLatin1String(".invalid"), Qt::CaseInsensitive))
        return {};
    QHostAddress literal;
    if (literal.setAddress(host) && literal.protocol() == QAbstractSocket::IPv4Protocol)
        return literal.toString();
    const QHostInfo info = QHostInfo::fromName(host);
    if (info.error() != QHostInfo::NoError)
        return {};
    for (const QHostAddress &address : info.addresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address.toString();
    return {};
}
