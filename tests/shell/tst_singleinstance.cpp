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
        auto &p = m_processes.emplace_back(std::make_unique<QProcess>());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), m_tmp.path());
        p->setProcessEnvironment(env);
        p->start(QStringLiteral(QSX_INSTANCE_PROBE), {title});
        return p.get();
    }

    static QByteArray nextLine(QProcess *p)
    {
        while (!p->canReadLine())
            if (!p->waitForReadyRead(20000))
                return p->readAll();
        return p->readLine().trimmed();
    }

    // A second start for the title raises owner's window and ends with 0.
    static void raises(QProcess *second, QProcess *owner)
    {
        QCOMPARE(nextLine(second), QByteArray("activated"));
        QVERIFY(second->waitForFinished(20000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(nextLine(owner), QByteArray("raise"));
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
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
