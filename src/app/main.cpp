// The qsx4810 program: one window per switch, started with /I<host>.

#include "shell/KtAllDialogs.h"
#include "shell/KtCommandLine.h"
#include "shell/KtSingleInstance.h"
#include "shell/KtStartup.h"
#include "shell/TMainForm.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(KtCommandLine::ApplicationTitle));
    QGuiApplication::setDesktopFileName(QStringLiteral("qsx4810"));
    const QStringList arguments = QApplication::arguments().mid(1);

    // A window for this switch that runs, or is still starting, comes to
    // the front instead; there is never a second one for the same title.
    KtSingleInstance instance(KtStartup::GuardTitle(arguments));
    const auto refuse = [&arguments](const char *text, bool warn) {
        KtStartup::ShowFailure(nullptr, QString::fromLatin1(text).arg(KtStartup::WindowHost(arguments)), warn);
        return 1;
    };
    switch (instance.Acquire()) {
    case KtSingleInstance::Claim::Activated:
        return 0;
    case KtSingleInstance::Claim::OwnerFailed:
        return refuse("A start for this switch (%1) is already showing an error.", false);
    case KtSingleInstance::Claim::NoAnswer:
        return refuse("The running window for this switch (%1) does not answer.", true);
    case KtSingleInstance::Claim::First:
    case KtSingleInstance::Claim::Unguarded:
        break;
    }

    RegisterAllDialogs();
    TMainForm form;
    // Later starts learn of the failure before its message box waits for the operator.
    QObject::connect(&form, &TMainForm::startFailed, &instance, &KtSingleInstance::SetFailed);
    if (!form.FormCreate(arguments, QApplication::applicationDirPath()))
        return form.ExitCode();
    QObject::connect(&instance, &KtSingleInstance::activateRequested, &form, [&form] {
        form.setWindowState(form.windowState() & ~Qt::WindowMinimized);
        form.show();
        form.raise();
        form.activateWindow();
    });
    form.show();
    instance.SetReady();
    return app.exec();
}
