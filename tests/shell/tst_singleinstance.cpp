// Two real processes claiming window titles.

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestSingleInstance : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;  // the processes' temporary folder, where locks and sockets live
    std::vector<std::unique_ptr<QProcess>> m_processes;

    QProcess *start(const QString &title)
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), m_tmp.path());
        process->setProcessEnvironment(env);
        process->start(QStringLiteral(QSX_INSTANCE_PROBE), {title});
        m_processes.push_back(std::move(process));
        return m_processes.back().get();
    }

    static QByteArray nextLine(QProcess *p)
    {
        while (!p->canReadLine())
            if (!p->waitForReadyRead(20000))
                return p->readAll();
        return p->readLine().trimmed();
    }

    static void finished(QProcess *p, const QByteArray &line, int code)
    {
        QCOMPARE(nextLine(p), line);
        QVERIFY(p->waitForFinished(20000));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), code);
    }

private slots:
    void cleanup()
    {
        for (auto &p : m_processes) {
            p->kill();
            p->waitForFinished(5000);
        }
        m_processes.clear();
    }

    void secondStartRaisesTheFirst_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("address") << QStringLiteral("QSX-4810 : 127.0.0.1");
        QTest::newRow("odd characters") << QStringLiteral("QSX-4810 : ../a/b\\c \"d\" \u00e9 *?");
    }
    void secondStartRaisesTheFirst()
    {
        QFETCH(QString, title);
        QProcess *first = start(title);
        QCOMPARE(nextLine(first), QByteArray("first"));
        for (int round = 0; round < 2; ++round) {
            finished(start(title), "activated", 0);
            QCOMPARE(nextLine(first), QByteArray("raise"));
        }
        // Another host is not this window.
        QProcess *other = start(title + QStringLiteral("0"));
        QCOMPARE(nextLine(other), QByteArray("first"));
    }

    void crashedOwnerDoesNotBlock()
    {
        const QString title = QStringLiteral("QSX-4810 : 10.1.2.3");
        QProcess *first = start(title);
        QCOMPARE(nextLine(first), QByteArray("first"));
        first->kill();  // leaves its lock and socket behind
        QVERIFY(first->waitForFinished(10000));
        QProcess *next = start(title);
        QCOMPARE(nextLine(next), QByteArray("first"));
        finished(start(title), "activated", 0);
        QCOMPARE(nextLine(next), QByteArray("raise"));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
