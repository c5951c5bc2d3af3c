#include "support/ChildCase.h"

#include <QCoreApplication>

namespace TestSupport {

namespace {

const char *const ChildMark = "QSX_CHILD_CASE";

} // namespace

ChildCase::ChildCase() : TestProcess(QStringLiteral("child-case")) {}

ChildCase::~ChildCase()
{
    stop();
}

bool ChildCase::isChild()
{
    return qEnvironmentVariableIsSet(ChildMark);
}

void ChildCase::start(const char *function)
{
    if (isChild() || m_started)
        return;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(ChildMark), QString::fromLatin1(function));
    m_started = launch(QCoreApplication::applicationFilePath(), {QString::fromLatin1(function)}, env,
                       [] { return true; }, 30000);
}

bool ChildCase::passed(int timeoutMs)
{
    if (!m_started)
        return false;
    if (isRunning() && !process().waitForFinished(timeoutMs)) {
        stop();
        return false;
    }
    return process().exitStatus() == QProcess::NormalExit && process().exitCode() == 0;
}

} // namespace TestSupport
