#pragma once

#include "shell/KtDisplaySettings.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// What start-up leaves for the main window.
struct KtStartupResult
{
    // False: start-up ended (message shown); the program exits with
    // ExitCode and nothing more is set up.
    bool Proceed = false;
    int ExitCode = 0;

    bool InstallationMode = false;  // "SNMP Configure" visible, profile beside the executable
    QString Title;                  // "QSX-4810 : host", the window caption
    QString HostText;               // the host as the command line names it, ends every caption
    KtDisplaySettings Display;      // the settings as the main window shows them
    QString ProfilePath;            // where the profile was looked for; empty: no location
    bool ProfileLoaded = false;
};

// The start-up sequence of the main window, up to the point where the
// window itself takes over (front panel, caption, menus, RMON state):
// session, installation mode, catalogues, time-out, switches, profile.
// Every failure is shown through KtMessageService and ends in a result
// with Proceed false; nothing is thrown.
class KtStartup
{
public:
    static constexpr quint32 SessionTimeout = 200;  // 2 s in 10 ms units
    static constexpr const char *InstallationFolderName = "orvix_ems";

    // arguments without the program name; owner parents the message boxes.
    // beforeFailure runs when start-up ends, before its message is shown.
    static KtStartupResult Run(const QStringList &arguments, const QString &executableFolder,
                               QWidget *owner = nullptr, const std::function<void()> &beforeFailure = {});

    // The host text that ends the window title: the last /I value, else
    // the default agent host.
    static QString WindowHost(const QStringList &arguments);
    // The title the window of this command line will carry, known before
    // anything is looked up; empty without arguments (no window follows).
    static QString GuardTitle(const QStringList &arguments);

    // A message that ends the start: also on standard error, for whoever
    // started the program from a script or a terminal.
    static void ShowFailure(QWidget *owner, const QString &message, bool warn);

    static bool IsInstallationFolder(const QString &executableFolder);

    // The first IPv4 address of host as dotted text; empty when there is
    // none. Names in the reserved "invalid" domain are not looked up.
    static QString LookupIPv4(const QString &host);
};
