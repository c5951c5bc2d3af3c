// The SNMP settings dialog: enabling, messages, the written profile and its restart question.

#include "ShellTestSupport.h"

#include "shell/KtDisplaySettings.h"
#include "shell/TfrmConfigSNMP.h"
#include "values/widgets/KtRadioGroup.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>

namespace {

const QByteArray V1Untouched =
    "[Program Information]\r\nAgentIP=127.0.0.1\r\nAgentPort=161\r\nVersion=0\r\nSecurityName=\r\n"
    "AuthPassword=\r\nPrivPassword=\r\nAuthProtocol=-1\r\nPrivProtocol=-1\r\nContextEngineID=\r\n"
    "SecurityLevel=-1\r\nContextName=cobalt\r\nGetCommStr=cobalt\r\nSetCommStr=lantern\r\n"
    "UpdateDate=*\r\nUpdateTime=*\r\nSecurityModel=3";

QByteArray withoutClock(QByteArray text)
{
    static const QRegularExpression clock(QStringLiteral("(Update(Date|Time))=[^\r]*"));
    return QString::fromUtf8(text).replace(clock, QStringLiteral("\\1=*")).toUtf8();
}

} // namespace

class TestConfigSNMP : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    KtDisplaySettings m_running;

    QString profile() const { return m_dir.filePath(QStringLiteral("127.0.0.1.cfg")); }
    QByteArray read() const
    {
        QFile f(profile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    }
    template <typename T> static T *child(QWidget *dialog, const char *name)
    {
        return dialog->findChild<T *>(QLatin1String(name));
    }
    // Fills the dialog the way an operator would: version, then the v3 fields.
    static void fill(QWidget *d, int version, const QString &name, int level, int auth, int priv)
    {
        QTest::mouseClick(child<KtRadioGroup>(d, "rgpSNMPVersion")->button(version), Qt::LeftButton);
        if (!name.isEmpty())
            QTest::keyClicks(child<QComboBox>(d, "cbxSecurityName"), name);
        child<QComboBox>(d, "cbxSecurityLevel")->setCurrentIndex(level);
        child<QComboBox>(d, "cbxAuthProtocol")->setCurrentIndex(auth);
        child<QComboBox>(d, "cbxPrivProtocol")->setCurrentIndex(priv);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_running.Host = QStringLiteral("127.0.0.1");
        m_running.Version = QStringLiteral("0");
    }
    void cleanup() { QFile::remove(profile()); }

    void okWritesOrComplains_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("auth");
        QTest::addColumn<int>("priv");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("written");  // after OK, the clock lines as "*"
        QTest::newRow("v1 untouched") << 0 << "" << -1 << -1 << -1 << "" << V1Untouched;
        QTest::newRow("v3 no name") << 2 << "" << 0 << 0 << 0 << "SecurityName is empty!" << QByteArray("(none)");
        QTest::newRow("v3 no level") << 2 << "me" << -1 << 0 << 0 << "SecurityLevel is empty!" << QByteArray("(none)");
        QTest::newRow("v3 no auth") << 2 << "me" << 0 << -1 << 0 << "AuthProtocol is empty!" << QByteArray("(none)");
        QTest::newRow("v3 no priv") << 2 << "me" << 0 << 0 << -1 << "PrivProtocol is empty!" << QByteArray("(none)");
        QTest::newRow("v3 complete")
            << 2 << "MD5_DES_User" << 2 << 1 << 1 << ""
            << QByteArray("[Program Information]\r\nAgentIP=127.0.0.1\r\nAgentPort=161\r\nVersion=3\r\n"
                          "SecurityName=MD5_DES_User\r\nAuthPassword=\r\nPrivPassword=\r\nAuthProtocol=1\r\n"
                          "PrivProtocol=1\r\nContextEngineID=\r\nSecurityLevel=2\r\nContextName=\r\nGetCommStr=\r\n"
                          "SetCommStr=\r\nUpdateDate=*\r\nUpdateTime=*\r\nSecurityModel=3");
        QTest::newRow("v2c drops the name") << 1 << "" << 0 << 1 << 2 << ""
                                            << QByteArray(V1Untouched)
                                                   .replace("Version=0", "Version=1")
                                                   .replace("AuthProtocol=-1", "AuthProtocol=1")
                                                   .replace("PrivProtocol=-1", "PrivProtocol=2")
                                                   .replace("SecurityLevel=-1", "SecurityLevel=0");
    }
    void okWritesOrComplains()
    {
        QFETCH(int, version);
        QFETCH(QString, name);
        QFETCH(int, level);
        QFETCH(int, auth);
        QFETCH(int, priv);
        QFETCH(QString, message);
        QFETCH(QByteArray, written);
        RecordingBackend boxes;
        TfrmConfigSNMP dialog(m_running, m_dir.path());
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Device SNMP Configure"));
        QVERIFY(!child<QComboBox>(&dialog, "cbxSecurityName")->isEnabled());
        if (version == 2) {
            // Leaving v3 puts the default communities back; the name typed stays unwritten.
            fill(&dialog, 2, QStringLiteral("x"), -1, -1, -1);
            QCOMPARE(child<QLineEdit>(&dialog, "edtContext")->text(), QString());
            QCOMPARE(child<QLineEdit>(&dialog, "edtCommunity")->text(), QString());
            QVERIFY(child<QLineEdit>(&dialog, "edtContextEngine")->isEnabled());
            child<QComboBox>(&dialog, "cbxSecurityName")->setEditText(QString());
        }
        fill(&dialog, version, name, level, auth, priv);
        QTest::mouseClick(child<QPushButton>(&dialog, "btnOk"), Qt::LeftButton);
        QCOMPARE(boxes.texts, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(dialog.isVisible(), !message.isEmpty());
        QCOMPARE(withoutClock(read()), written);
    }

    void versionChanged_data()
    {
        QTest::addColumn<QString>("running");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("changed");
        QTest::newRow("empty runs v1") << "" << 0 << "" << false;
        QTest::newRow("v1 to v2c") << "0" << 1 << "" << true;
        QTest::newRow("v2c kept") << "1" << 1 << "" << false;
        QTest::newRow("v2c to v3") << "1" << 2 << "SHA_User" << true;
        QTest::newRow("v3 same user") << "3" << 2 << "SHA_User" << false;
        QTest::newRow("v3 other user") << "3" << 2 << "MD5_User" << true;
        QTest::newRow("v3 to v1") << "3" << 0 << "" << true;
        QTest::newRow("unknown running") << "2" << 2 << "SHA_User" << false;
    }
    void versionChanged()
    {
        QFETCH(QString, running);
        QFETCH(int, chosen);
        QFETCH(QString, name);
        QFETCH(bool, changed);
        KtConfigSNMPState state;
        state.Version = chosen;
        state.SecurityName = name;
        QCOMPARE(KtConfigSNMPRules::VersionChanged(running, QStringLiteral("SHA_User"), state), changed);
    }

    void restartQuestion_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("ends");
        QTest::newRow("exit") << false << true << false;
        QTest::newRow("saved, no") << true << false << false;
        QTest::newRow("saved, yes") << true << true << true;
    }
    void restartQuestion()
    {
        QFETCH(bool, save);
        QFETCH(bool, yes);
        QFETCH(bool, ends);
        RecordingBackend boxes;
        boxes.answers = {yes};
        QTimer::singleShot(0, this, [save] {
            QWidget *d = QApplication::activeModalWidget();
            QVERIFY(d);
            fill(d, 1, QString(), -1, -1, -1);
            QTest::mouseClick(child<QPushButton>(d, save ? "btnOk" : "btnExit"), Qt::LeftButton);
        });
        QCOMPARE(TfrmConfigSNMP::Configure(nullptr, m_running, m_dir.path()), ends);
        QCOMPARE(TfrmConfigSNMP::VersionChanged(), save);
        QCOMPARE(boxes.texts, save ? QStringList{KtConfigSNMPRules::RestartQuestion()} : QStringList());
        QCOMPARE(QFile::exists(profile()), save);
    }

    void profileIsReplacedWholeAndPrivate()
    {
        QFile old(profile());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("[Program Information]\r\nVersion=3");
        old.close();
        QVERIFY(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        const QByteArray good = read();

        // A write that stops half-way (file size limit) leaves the old profile.
        RecordingBackend boxes;
        TfrmConfigSNMP dialog(m_running, m_dir.path());
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 40;
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        QTest::mouseClick(child<QPushButton>(&dialog, "btnOk"), Qt::LeftButton);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        QCOMPARE(read(), good);
        QCOMPARE(boxes.texts, QStringList{QStringLiteral("Create file error!")});

        QTest::mouseClick(child<QPushButton>(&dialog, "btnOk"), Qt::LeftButton);
        QCOMPARE(withoutClock(read()), V1Untouched);
        QCOMPARE(QFile::permissions(profile()), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("127.0.0.1.cfg")});
    }
};

QTEST_MAIN(TestConfigSNMP)
#include "tst_configsnmp.moc"
