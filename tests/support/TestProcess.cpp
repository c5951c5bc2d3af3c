#include "support/TestProcess.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace TestSupport {

namespace {

constexpr int LogLinesShown = 60;

} // namespace

TestProcess::TestProcess(const QString &name) : m_name(name) {}

TestProcess::~TestProcess()
{
    // A local helper of a failed test function shows what it said.
    if (QTest::currentTestFunction() && QTest::currentTestFailed())
        showLog();
    stop();
}

QString TestProcess::logPath() const
{
    return m_work.filePath(m_name + QStringLiteral(".log"));
}

QString TestProcess::log() const
{
    QFile f(logPath());
    return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
}

void TestProcess::showLog() const
{
    const QStringList lines = log().split(QLatin1Char('\n'));
    const QStringList tail = lines.mid(qMax(0, int(lines.size()) - LogLinesShown));
    qWarning("%s (pid %lld) log, last %d lines:\n%s", qPrintable(m_name), pid(), int(tail.size()),
             qPrintable(tail.join(QLatin1Char('\n'))));
}

void TestProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(m_stopGraceMs)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

bool TestProcess::launch(const QString &program, const QStringList &arguments,
                         const QProcessEnvironment &environment, const std::function<bool()> &ready, int timeoutMs)
{
    if (!m_work.isValid()) {
        qWarning("%s: no temporary folder", qPrintable(m_name));
        return false;
    }
    m_process.setProgram(program);
    m_process.setArguments(arguments);
    m_process.setProcessEnvironment(environment);
    const pid_t parent = ::getpid();
    m_process.setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)  // the test died before the line above
            ::_exit(1);
    });
    // A file, not a pipe: a full pipe would stall the process.
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(logPath(), QIODevice::Append);
    m_process.start();
    if (!m_process.waitForStarted(30000)) {
        qWarning("%s: %s does not start: %s", qPrintable(m_name), qPrintable(program),
                 qPrintable(m_process.errorString()));
        return false;
    }
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        if (ready())
            return true;
        // Also the one way to notice an exit without an event loop.
        m_process.waitForFinished(20);
    }
    qWarning("%s: %s", qPrintable(m_name),
             m_process.state() == QProcess::Running ? "does not answer in time" : "exited while starting");
    showLog();
    stop();
    return false;
}

QProcessEnvironment netSnmpEnvironment(const QString &configFolder, const QString &persistentFolder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MIBS"), QString());
    env.insert(QStringLiteral("SNMPCONFPATH"), configFolder);
    env.insert(QStringLiteral("SNMP_PERSISTENT_DIR"), persistentFolder);
    return env;
}

ToolResult runNetSnmpTool(const QString &folder, const QString &program, const QStringList &arguments,
                          int timeoutMs)
{
    QProcess p;
    p.setProcessEnvironment(netSnmpEnvironment(folder, folder));
    QElapsedTimer clock;
    clock.start();
    p.start(program, arguments);
    ToolResult r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.elapsedMs = clock.elapsed();
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

} // namespace TestSupport
