#pragma once

// The daemons a benchmark measures against (the stock snmpd, the simulated
// agent), started on a free loopback port and stopped again. Benchmarks keep
// their own helpers: they never include test headers.

#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace Bench {

// A UDP port on 127.0.0.1 nobody is bound to right now, 0 if none.
quint16 freePort();

// Net-SNMP programs read no MIB files and keep their state in folder.
QProcessEnvironment netSnmpEnvironment(const QString &folder);

class Daemon
{
public:
    explicit Daemon(const QString &folder) : m_folder(folder) {}
    ~Daemon() { stop(); }

    // Starts program with arguments (in this process's environment: the
    // agent finds its own configuration) and waits until a v2c get of
    // sysUpTime with community at port is answered; prints why not on failure.
    bool start(const QString &program, const QStringList &arguments, quint16 port, const QString &community);
    // A stock snmpd with one read-only community; its configuration, log
    // and state go into the folder (made if missing).
    bool startSnmpd(quint16 port, const QString &community);
    void stop();

    qint64 pid() const { return m_process.processId(); }
    bool isRunning() const { return m_process.state() == QProcess::Running; }

private:
    QString m_folder;
    QProcess m_process;
};

// The middle value (the upper one of an even count), 0 for none.
double median(QList<double> values);

// The resident-set high-water mark of a process in KiB, -1 if unknown.
long peakKiB(qint64 pid);

} // namespace Bench
