// The SNMP settings dialog: enabling, messages, the written profile and its restart question.

#include "support/ScriptedMessages.h"

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

const QByteArray V1 = "[Program Information]\r\nAgentIP=127.0.0.1\r\nAgentPort=161\r\nVersion=0\r\nSecurityName=\r\n"
                      "AuthPassword=\r\nPrivPassword=\r\nAuthProtocol=-1\r\nPrivProtocol=-1\r\nContextEngineID=\r\n"
                      "SecurityLevel=-1\r\nContextName=cobalt\r\nGetCommStr=cobalt\r\nSetCommStr=lantern\r\n"
                      "UpdateDate=*\r\nUpdateTime=*\r\nSecurityModel=3\r\nBulkRepetitions=";

template <typename T> T *child(QWidget *dialog, const char *name)
{
    return dialog->findChild<T *>(QLatin1String(name));
}

// Fills the dialog as an operator would: version, then the v3 fields.
void fill(QWidget *d, int version, const QString &name = {}, int level = -1, int auth = -1, int priv = -1)
{
    QTest::mouseClick(child<KtRadioGroup>(d, "rgpSNMPVersion")->button(version), Qt::LeftButton);
    child<QComboBox>(d, "cbxSecurityName")->setEditText(QString());
    QTest::keyClicks(child<QComboBox>(d, "cbxSecurityName"), name);
    child<QComboBox>(d, "cbxSecurityLevel")->setCurrentIndex(level);
    child<QComboBox>(d, "cbxAuthProtocol")->setCurrentIndex(auth);
    child<QComboBox>(d, "cbxPrivProtocol")->setCurrentIndex(priv);
}

} // namespace

class TestConfigSNMP : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString profile() const { return m_dir.filePath(QStringLiteral("127.0.0.1.cfg")); }
    // The profile with its clock lines as "*".
    QByteArray read() const
    {
        static const QRegularExpression clock(QStringLiteral("(Update(Date|Time))=[^\r]*"));
        QFile f(profile());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).replace(clock, "\\1=*").toUtf8() : "(none)";
    }

private slots:
    void cleanup() { QFile::remove(profile()); }

    // The dialog run as the menu runs it: messages, the file written and the restart question.
    void configure_data()
    {
        QTest::addColumn<QString>("running");  // version; the running v3 user is SHA_User
        QTest::addColumn<int>("version");      // -1: Exit
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<int>>("combos");  // level, auth, priv
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<bool>("asked");
        const QByteArray none = "(none)";
        const auto v3 = [](const char *name) {
            return QByteArray(V1).replace("Version=0", "Version=3").replace("Name=\r", "Name=" + QByteArray(name) + "\r")
                .replace("=-1", "=1").replace("SecurityLevel=1", "SecurityLevel=2").replace("cobalt", "").replace("lantern", "");
        };
        const QList<int> full{2, 1, 1};
        QTest::newRow("empty runs v1, drops the name") << "" << 0 << "me" << QList<int>{-1, -1, -1} << "" << V1 << false;
        QTest::newRow("v1 to v2c") << "0" << 1 << "" << QList<int>{0, 1, 2} << ""
                                   << QByteArray(V1).replace("Version=0", "Version=1").replace("AuthProtocol=-1", "AuthProtocol=1")
                                          .replace("PrivProtocol=-1", "PrivProtocol=2").replace("SecurityLevel=-1", "SecurityLevel=0")
                                   << true;
        QTest::newRow("v3 to v1") << "3" << 0 << "" << QList<int>{-1, -1, -1} << "" << V1 << true;
        QTest::newRow("v3 no name") << "0" << 2 << "" << full << "SecurityName is empty!" << none << false;
        QTest::newRow("v3 no level") << "0" << 2 << "me" << QList<int>{-1, 1, 1} << "SecurityLevel is empty!" << none << false;
        QTest::newRow("v3 no auth") << "0" << 2 << "me" << QList<int>{2, -1, 1} << "AuthProtocol is empty!" << none << false;
        QTest::newRow("v3 no priv") << "0" << 2 << "me" << QList<int>{2, 1, -1} << "PrivProtocol is empty!" << none << false;
        QTest::newRow("v2c to v3") << "1" << 2 << "MD5_DES_User" << full << "" << v3("MD5_DES_User") << true;
        QTest::newRow("v3 same user") << "3" << 2 << "SHA_User" << full << "" << v3("SHA_User") << false;
        QTest::newRow("v3 other user") << "3" << 2 << "MD5_User" << full << "" << v3("MD5_User") << true;
        QTest::newRow("exit") << "0" << -1 << "" << QList<int>{} << "" << none << false;
        QTest::newRow("v2c, bulk walk off") << "1" << 1 << "" << QList<int>{-1, -1, -1, 1} << ""
                                            << QByteArray(V1).replace("Version=0", "Version=1")
                                                   .replace("BulkRepetitions=", "BulkRepetitions=0")
                                            << false;
    }
    void configure()
    {
        QFETCH(QString, running);
        QFETCH(int, version);
        QFETCH(QString, name);
        QFETCH(QList<int>, combos);
        QFETCH(QString, message);
        QFETCH(QByteArray, written);
        QFETCH(bool, asked);
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        boxes.answer({true});
        QTimer::singleShot(0, this, [=] {
            QWidget *d = QApplication::activeModalWidget();
            QVERIFY(d && d->windowTitle() == QLatin1String("Device SNMP Configure"));
            QTimer::singleShot(20000, d, &QWidget::close);  // a failed check below must not hang the test
            QVERIFY(!child<QComboBox>(d, "cbxSecurityName")->isEnabled());
            if (version >= 0) {
                // v3 enables its fields and empties the communities; leaving it puts the defaults back.
                fill(d, 2);
                QVERIFY(child<QLineEdit>(d, "edtContextEngine")->isEnabled());
                QCOMPARE(child<QLineEdit>(d, "edtContext")->text() + child<QLineEdit>(d, "edtCommunity")->text(), "");
                fill(d, version, name, combos[0], combos[1], combos[2]);
                // No GETBULK in SNMPv1: the choice waits for another version.
                QCOMPARE(child<QComboBox>(d, "cbxBulkWalk")->isEnabled(), version != 0);
                if (combos.size() > 3)
                    child<QComboBox>(d, "cbxBulkWalk")->setCurrentIndex(combos[3]);
                QCOMPARE(child<QLineEdit>(d, "edtAuthPass")->isEnabled(), version == 2);
                QTest::mouseClick(child<QPushButton>(d, "btnOk"), Qt::LeftButton);
            }
            QCOMPARE(d->isVisible(), version < 0 || !message.isEmpty());
            if (d->isVisible())
                QTest::mouseClick(child<QPushButton>(d, "btnExit"), Qt::LeftButton);
        });
        KtDisplaySettings settings;
        settings.Host = QStringLiteral("127.0.0.1");
        settings.Version = running;
        settings.SecurityName = QStringLiteral("SHA_User");
        QCOMPARE(TfrmConfigSNMP::Configure(nullptr, settings, m_dir.path()), asked);
        QCOMPARE(TfrmConfigSNMP::VersionChanged(), asked);
        QCOMPARE(boxes.texts(), !message.isEmpty() ? QStringList{message}
                              : asked            ? QStringList{KtConfigSNMPRules::RestartQuestion()}
                                                 : QStringList());
        QCOMPARE(read(), written);
    }

    // IDEA stays a choice, but OK asks first when the next start would use it.
    void privacyTheBuildCannotUse_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("priv");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("yes");
        QTest::newRow("IDEA, no") << 2 << 2 << true << false;
        QTest::newRow("IDEA, yes") << 2 << 2 << true << true;
        QTest::newRow("IDEA without privacy") << 1 << 2 << false << true;
        QTest::newRow("DES") << 2 << 1 << false << true;
    }
    void privacyTheBuildCannotUse()
    {
        QFETCH(int, level);
        QFETCH(int, priv);
        QFETCH(bool, asked);
        QFETCH(bool, yes);
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        boxes.answer({yes});
        KtDisplaySettings settings;
        settings.Host = QStringLiteral("127.0.0.1");
        TfrmConfigSNMP dialog(settings, m_dir.path());
        dialog.show();
        fill(&dialog, 2, QStringLiteral("SHA_DES_User"), level, 2, priv);
        QTest::mouseClick(child<QPushButton>(&dialog, "btnOk"), Qt::LeftButton);
        QCOMPARE(boxes.texts(), asked ? QStringList{KtConfigSNMPRules::PrivacyQuestion()} : QStringList());
        const bool saved = !asked || yes;
        QCOMPARE(dialog.isVisible(), !saved);
        QCOMPARE(read().contains("\r\nPrivProtocol=" + QByteArray::number(priv) + "\r\n"), saved);
        QCOMPARE(QFile::exists(profile()), saved);
    }

    // Pass phrases and communities show as dots; a context name (v3) as typed.
    void secretsAreNotShown()
    {
        TfrmConfigSNMP dialog(KtDisplaySettings{}, m_dir.path());
        const auto masked = [&](const char *name) {
            return child<QLineEdit>(&dialog, name)->echoMode() == QLineEdit::Password;
        };
        QVERIFY(masked("edtAuthPass") && masked("edtPrivPass") && masked("edtCommunity") && masked("edtContext"));
        fill(&dialog, 2);
        QVERIFY(!masked("edtContext"));
        fill(&dialog, 1);
        QVERIFY(masked("edtContext"));
    }

    void profileIsReplacedWholeAndPrivate()
    {
        QFile old(profile());
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("[Program Information]\r\nVersion=3") > 0);
        old.close();
        QVERIFY(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        const QByteArray good = read();

        // A write that stops half-way (file size limit) leaves the old profile.
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        KtDisplaySettings settings;
        settings.Host = QStringLiteral("127.0.0.1");
        TfrmConfigSNMP dialog(settings, m_dir.path());
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
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Create file error!")});

        QTest::mouseClick(child<QPushButton>(&dialog, "btnOk"), Qt::LeftButton);
        QCOMPARE(read(), V1);
        QCOMPARE(QFile::permissions(profile()), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("127.0.0.1.cfg")});
    }
};

QTEST_MAIN(TestConfigSNMP)
#include "tst_configsnmp.moc"
