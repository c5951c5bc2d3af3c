// The qsx4810 program: one window per switch, started with /I<host>.

#include "shell/KtCommandLine.h"
#include "shell/KtSingleInstance.h"
#include "shell/TMainForm.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(KtCommandLine::ApplicationTitle));
    QGuiApplication::setDesktopFileName(QStringLiteral("qsx4810"));
    const QStringList arguments = QApplication::arguments().mid(1);

    // A window for this host that runs already comes to the front instead.
    KtSingleInstance instance(KtCommandLine::Title(arguments));
    if (instance.Acquire() == KtSingleInstance::Claim::Activated)
        return 0;

    TMainForm form;
    if (!form.FormCreate(arguments, QApplication::applicationDirPath()))
        return form.ExitCode();
    QObject::connect(&instance, &KtSingleInstance::activateRequested, &form, [&form] {
        form.setWindowState(form.windowState() & ~Qt::WindowMinimized);
        form.show();
        form.raise();
        form.activateWindow();
    });
    form.show();
    return app.exec();
}
