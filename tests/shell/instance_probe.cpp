// A process that claims a window title the way the module does and says
// on standard output what happened: "first" (then "raise" per request),
// "activated", "owner failed", "no answer" or "unguarded".

#include "shell/KtSingleInstance.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    KtSingleInstance instance(app.arguments().value(1));
    QTextStream out(stdout);
    switch (instance.Acquire(10000)) {
    case KtSingleInstance::Claim::Activated:
        out << "activated" << Qt::endl;
        return 0;
    case KtSingleInstance::Claim::OwnerFailed:
        out << "owner failed" << Qt::endl;
        return 3;
    case KtSingleInstance::Claim::NoAnswer:
        out << "no answer" << Qt::endl;
        return 4;
    case KtSingleInstance::Claim::Unguarded:
        out << "unguarded" << Qt::endl;
        return 2;
    case KtSingleInstance::Claim::First:
        break;
    }
    QObject::connect(&instance, &KtSingleInstance::activateRequested, &app, [&out] { out << "raise" << Qt::endl; });
    instance.SetReady();
    out << "first" << Qt::endl;
    return app.exec();  // until the test stops it
}
