#pragma once

// A helper process of a test (an SNMP agent): started with its output in a
// log file, waited for until it answers, stopped by its own PID, and killed
// by the kernel when the test process dies, even by a crash.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

namespace TestSupport {

class TestProcess
{
public:
    virtual ~TestProcess();
    TestProcess(const TestProcess &) = delete;
    TestProcess &operator=(const TestProcess &) = delete;

    QProcess &process() { return m_process; }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    qint64 pid() const { return m_process.processId(); }

    // Everything the process wrote, over all its runs.
    QString log() const;
    QString logPath() const;
    // Prints the end of the log as a warning (shown with the failing test).
    void showLog() const;

    // SIGTERM to the process, SIGKILL after the grace time.
    void stop();
    void setStopGrace(int ms) { m_stopGraceMs = ms; }

protected:
    // name: for messages and the log file name.
    explicit TestProcess(const QString &name);

    // Starts the program and waits until ready() holds, polling; false (and
    // the log shown) when it exits first or timeoutMs pass.
    bool launch(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
                const std::function<bool()> &ready, int timeoutMs);

    // A folder that lives as long as this object (configuration, log).
    QString workFolder() const { return m_work.path(); }

private:
    QString m_name;
    QTemporaryDir m_work;
    QProcess m_process;
    int m_stopGraceMs = 5000;
};

// Output of a Net-SNMP command-line tool.
struct ToolResult
{
    int exitCode = -1;  // -1: crashed or did not finish
    QString out;
    QString err;
    qint64 elapsedMs = 0;
};

// The environment for Net-SNMP programs: no MIB files, configuration and
// persistent state in the given folders, nothing of the host's.
QProcessEnvironment netSnmpEnvironment(const QString &configFolder, const QString &persistentFolder);

// Runs a Net-SNMP tool with netSnmpEnvironment(folder, folder).
// timeoutMs guards against a tool that hangs: a walk of the whole enterprise
// subtree took over a minute on a busy machine.
ToolResult runNetSnmpTool(const QString &folder, const QString &program, const QStringList &arguments,
                          int timeoutMs = 300000);

} // namespace TestSupport
