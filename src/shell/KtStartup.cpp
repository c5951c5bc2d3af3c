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

namespace {

KtStartupResult failed(QWidget *owner, const QString &message, bool warn)
{
    if (warn)
        KtMessageService::Warn(owner, message);
    else
        KtMessageService::Inform(owner, message);
    KtStartupResult result;
    result.ExitCode = 1;
    return result;
}

KtStartupResult runSteps(const QStringList &arguments, const QString &executableFolder, QWidget *owner)
{
    KtStartupResult result;
    // The boots file goes to the current folder.
    KtSNMPSession::StartSession(QString());

    result.InstallationMode = KtStartup::IsInstallationFolder(executableFolder);
    KtCatalogue::LoadAll(QDir(executableFolder).filePath(QStringLiteral("errMSg")));
    KtSNMPSession::SetTimeout(KtStartup::SessionTimeout);

    // Nothing below would be used: the program ends here.
    if (arguments.isEmpty())
        return failed(owner, QStringLiteral("No parameter input"), false);

    const KtCommandLine::Outcome outcome = KtCommandLine::Apply(
        arguments, &KtStartup::LookupIPv4, KtSNMPSession::Device(), KtSNMPSession::Scope(),
        KtSNMPSession::Security());
    if (outcome.HostFailed)
        return failed(owner, QStringLiteral("Error Host Name!"), false);
    if (outcome.Error)
        return failed(owner, outcome.Error->Message(), true);

    result.ProfilePath = KtProfile::PathFor(result.InstallationMode, executableFolder,
                                            KtSNMPSession::Device().Host);
    result.ProfileLoaded = KtProfile::LoadProfile(result.ProfilePath, KtSNMPSession::Device(),
                                                  KtSNMPSession::Scope(), KtSNMPSession::Security());
    result.Display = KtDisplaySettings::FromSession();
    // The title that found no running instance is the caption, so a later
    // start for the same host finds this one.
    result.HostText = KtCommandLine::HostText(arguments);
    if (result.HostText.isEmpty())
        result.HostText = KtSNMPSession::Device().Host;
    result.Title = KtCommandLine::TitleFor(result.HostText);
    result.Proceed = true;
    return result;
}

} // namespace

KtStartupResult KtStartup::Run(const QStringList &arguments, const QString &executableFolder, QWidget *owner)
{
    try {
        return runSteps(arguments, executableFolder, owner);
    } catch (const KtException &e) {
        return failed(owner, e.message(), true);
    } catch (const std::exception &e) {
        return failed(owner, QString::fromLocal8Bit(e.what()), true);
    }
}

bool KtStartup::IsInstallationFolder(const QString &executableFolder)
{
    return QDir(executableFolder).dirName() == QLatin1String(InstallationFolderName);
}

QString KtStartup::LookupIPv4(const QString &host)
{
    if (host.isEmpty())
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
