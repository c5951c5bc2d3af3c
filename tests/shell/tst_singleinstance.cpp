// Two real processes claiming window titles: the probe for the protocol,
// and qsx4810 itself for starts that are slow, fail or name the switch
// only through its default.

#include "support/LoopbackUdp.h"

#include "shell/KtSingleInstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <signal.h>

namespace {

const QString LocalTitle = QStringLiteral("QSX-4810 : 127.0.0.1");

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;  // the processes' temporary folder, where locks and sockets live
    std::vector<std::unique_ptr<QProcess>> m_processes;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), m_tmp.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_tmp.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_STATE_HOME"), m_tmp.filePath(QStringLiteral("state")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }

    QProcess *launch(const QString &program, const QStringList &arguments)
    {
        auto &p = m_processes.emplace_back(std::make_unique<QProcess>());
        p->setProcessEnvironment(environment());
        p->setWorkingDirectory(m_tmp.path());  // the engine-boots file goes here
        p->start(program, arguments);
        p->waitForStarted(20000);
        return p.get();
    }
    QProcess *start(const QString &title) { return launch(QStringLiteral(QSX_INSTANCE_PROBE), {title}); }
    QProcess *module(const QStringList &arguments) { return launch(QStringLiteral(QSX_MODULE), arguments); }

    QString lockOf(const QString &title) const
    {
        return QDir(m_tmp.path()).filePath(KtSingleInstance::ServerName(title) + QStringLiteral(".lock"));
    }

    static QByteArray nextLine(QProcess *p)
    {
        while (!p->canReadLine())
            if (!p->waitForReadyRead(20000))
                return p->readAll();
        return p->readLine().trimmed();
    }

    static bool endsWith(QProcess *p, int code, int waitMs = 60000)
    {
        if (p->state() != QProcess::NotRunning && !p->waitForFinished(waitMs))
            return false;
        return p->exitStatus() == QProcess::NormalExit && p->exitCode() == code;
    }

    // A second start for the title raises owner's window and ends with 0.
    static void raises(QProcess *second, QProcess *owner)
    {
        QCOMPARE(nextLine(second), QByteArray("activated"));
        QVERIFY(endsWith(second, 0, 20000));
        QCOMPARE(nextLine(owner), QByteArray("raise"));
    }

    // The host application's profile for 127.0.0.1: SNMPv3 to a port where nothing answers,
    // so a start waits for the engine discovery and the first reads to time out.
    void writeSilentProfile(quint16 port)
    {
        QDir(m_tmp.path()).mkpath(QStringLiteral("config/Orvix"));
        QDir(m_tmp.path()).mkpath(QStringLiteral("hex/bin"));
        QDir(m_tmp.path()).mkpath(QStringLiteral("hex/Conf/MBF"));
        QFile settings(m_tmp.filePath(QStringLiteral("config/Orvix/Hexmon5.1.conf")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[ExePath]\nPath=" + QFile::encodeName(m_tmp.filePath(QStringLiteral("hex/bin"))) + "\n");
        QFile profile(m_tmp.filePath(QStringLiteral("hex/Conf/MBF/127.0.0.1.cfg")));
        QVERIFY(profile.open(QIODevice::WriteOnly));
        profile.write(QStringLiteral("[Program Information]\r\nVersion=3\r\nAgentPort=%1\r\nSecurityName=noAuthUser")
                          .arg(port)
                          .toLatin1());
    }

private slots:
    void cleanup()
    {
        for (auto &p : m_processes) {
            p->kill();
            p->waitForFinished(5000);
        }
        m_processes.clear();
        // Killed owners leave their locks; the next case starts afresh.
        for (const QString &lock : QDir(m_tmp.path()).entryList({QStringLiteral("*.lock")}, QDir::Files))
            QFile::remove(QDir(m_tmp.path()).filePath(lock));
    }

    void oneWindowPerTitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("address") << QStringLiteral("QSX-4810 : 127.0.0.1");
        QTest::newRow("odd characters") << QStringLiteral("QSX-4810 : ../a/b\\c \"d\" \u00e9 *?");
    }
    void oneWindowPerTitle()
    {
        QFETCH(QString, title);
        QProcess *first = start(title);
        QCOMPARE(nextLine(first), QByteArray("first"));
        raises(start(title), first);
        raises(start(title), first);
        QCOMPARE(nextLine(start(title + QStringLiteral("0"))), QByteArray("first"));  // another host

        first->kill();  // a crash leaves its lock and socket behind
        QVERIFY(first->waitForFinished(10000));
        QProcess *next = start(title);
        QCOMPARE(nextLine(next), QByteArray("first"));
        raises(start(title), next);
    }

    // The first start is slow (held until a fixed wait would have given up),
    // and may name its switch only through the default host. The second
    // waits for it, whatever happens to it, and never opens a window of its own.
    void slowFirstStart_data()
    {
        QTest::addColumn<QString>("firstArgument");
        QTest::addColumn<bool>("firstSurvives");
        QTest::newRow("default host, first gets its window") << "/v1" << true;
        QTest::newRow("first gets its window") << "/I127.0.0.1" << true;
        QTest::newRow("first dies while starting") << "/I127.0.0.1" << false;
    }
    void slowFirstStart()
    {
        QFETCH(QString, firstArgument);
        QFETCH(bool, firstSurvives);
        TestSupport::SilentPort silent;
        QVERIFY(silent.isOpen());
        writeSilentProfile(silent.port());
        QProcess *first = module({firstArgument});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lockOf(LocalTitle)), 30000);
        QVERIFY(first->state() == QProcess::Running);
        ::kill(pid_t(first->processId()), SIGSTOP);
        QProcess *second = module({QStringLiteral("/I127.0.0.1")});
        // Longer than any fixed wait for an answer: the second is still waiting.
        QVERIFY(!second->waitForFinished(7000));
        if (firstSurvives) {
            ::kill(pid_t(first->processId()), SIGCONT);
            QVERIFY2(endsWith(second, 0), second->readAllStandardError().constData());
            QVERIFY(first->state() == QProcess::Running);
        } else {
            first->kill();
            QVERIFY(first->waitForFinished(10000));
        }
        // Whoever owns the title now has its window up and raises it for the next start.
        QProcess *third = module({QStringLiteral("/I127.0.0.1")});
        if (firstSurvives) {
            QVERIFY2(endsWith(third, 0), third->readAllStandardError().constData());
            QCOMPARE(first->state(), QProcess::Running);
            return;
        }
        // The dead first's lock is free to both waiting starts: either may win
        // it, and the other must bring the winner's window forward and end.
        QTRY_VERIFY_WITH_TIMEOUT(second->state() != QProcess::Running || third->state() != QProcess::Running,
                                 120000);
        QProcess *loser = second->state() == QProcess::Running ? third : second;
        QProcess *owner = loser == second ? third : second;
        QVERIFY2(endsWith(loser, 0), loser->readAllStandardError().constData());
        QCOMPARE(owner->state(), QProcess::Running);
    }

    // While the first start shows "Error Host Name!", a second does not
    // report success with no window left: it says what is going on.
    void failingFirstStart()
    {
        const QStringList arguments{QStringLiteral("/Ino-such-switch.invalid")};
        QProcess *first = module(arguments);
        QByteArray firstSaid;
        QTRY_VERIFY_WITH_TIMEOUT((firstSaid += first->readAllStandardError()).contains("Error Host Name!"), 30000);
        QProcess *second = module(arguments);
        QByteArray secondSaid;
        QTRY_VERIFY_WITH_TIMEOUT(
            (secondSaid += second->readAllStandardError())
                .contains("A start for this switch (no-such-switch.invalid) is already showing an error."),
            30000);
        // Both wait for the operator to read their message.
        QVERIFY(first->state() == QProcess::Running);
        QVERIFY(second->state() == QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
