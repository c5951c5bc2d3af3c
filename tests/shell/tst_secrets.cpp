// Communities and pass phrases stay out of sight: after sibling starts and
// after failures no status line, memo, message box, title, tool tip or log
// line holds one, while the sibling still gets them as they are.

#include "support/FakeProgram.h"
#include "support/LoopbackUdp.h"
#include "support/ScriptedMessages.h"

#include "shell/TMainForm.h"
#include "shell/catalogue/KtMenuCatalogue.h"

#include "snmp/KtSNMPSession.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QSet>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <memory>

namespace {

// Every secret below holds this; nothing else the program shows does.
const QString Marker = QStringLiteral("Q~z");
const QString Read = QStringLiteral("/Rrd-Q~z-cmty");
const QString Write = QStringLiteral("/Wwr-Q~z-cmty");
const QString Auth = QStringLiteral("/Aauth-Q~z-phrase");
const QString Priv = QStringLiteral("/Ppriv-Q~z-phrase");

QStringList g_log;
QtMessageHandler g_previous = nullptr;

void keepLog(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    g_log << QString::fromLatin1(context.category) + QLatin1String(": ") + message;
    if (g_previous)
        g_previous(type, context, message);
}

// What an operator or a log reader can see now.
QStringList everythingShown(const ScriptedMessages &boxes)
{
    QStringList texts = g_log;
    for (const ScriptedMessages::Shown &m : boxes.shown())
        texts << m.caption << m.text;
    QSet<QAction *> actions;
    for (QWidget *w : QApplication::allWidgets()) {
        texts << w->windowTitle() << w->toolTip() << w->statusTip() << w->whatsThis() << w->accessibleName()
              << w->accessibleDescription();
        if (auto *label = qobject_cast<QLabel *>(w))
            texts << label->text();
        else if (auto *edit = qobject_cast<QLineEdit *>(w))
            texts << edit->displayText();
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(w))
            texts << memo->toPlainText();
        else if (auto *text = qobject_cast<QTextEdit *>(w))
            texts << text->toPlainText();
        else if (auto *bar = qobject_cast<QStatusBar *>(w))
            texts << bar->currentMessage();
        for (QAction *a : w->actions())
            actions.insert(a);
        for (QAction *a : w->findChildren<QAction *>())
            actions.insert(a);
    }
    for (QAction *a : std::as_const(actions))
        texts << a->text() << a->toolTip() << a->statusTip() << a->whatsThis();
    return texts.filter(Marker);
}

enum class Sibling { Started, Missing, Broken };

} // namespace

class TestSecrets : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    TestSupport::SilentPort m_silent;

    // An installation folder whose profile (v1) aims at the silent port, or a plain one.
    QString moduleFolder(bool withProfile) const
    {
        const QDir folder(m_dir.filePath(withProfile ? QStringLiteral("profiled/orvix_ems") : QStringLiteral("bin")));
        folder.mkpath(QStringLiteral("."));
        QFile profile(folder.filePath(QStringLiteral("127.0.0.1.cfg")));
        if (withProfile && profile.open(QIODevice::WriteOnly))
            profile.write(QStringLiteral("[Program Information]\r\nVersion=0\r\nAgentPort=%1").arg(m_silent.port()).toLatin1());
        return folder.path();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(m_silent.isOpen());
        QVERIFY(QDir::setCurrent(m_dir.path()));  // the engine-boots file goes here
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());  // no host application
        qputenv("XDG_STATE_HOME", m_dir.filePath(QStringLiteral("state")).toUtf8());  // the ledger of changes
        QApplication::setQuitOnLastWindowClosed(false);
        QLoggingCategory::setFilterRules(QStringLiteral("qsx.*.debug=true"));
        g_previous = qInstallMessageHandler(keepLog);
    }
    void cleanupTestCase() { qInstallMessageHandler(g_previous); }
    void init() { g_log.clear(); }
    void cleanup()
    {
        KtSNMPSession::Device() = {};
        KtSNMPSession::Scope() = {};
        KtSNMPSession::Security() = {};
    }

    void nothingShowsASecret_data()
    {
        const QString port = QString::number(m_silent.port());
        QTest::addColumn<bool>("profile");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("outcome");  // the sibling's status line, or the message that ends the start
        QTest::addColumn<QStringList>("given");  // what the sibling gets
        QTest::newRow("v3") << false
                            << QStringList{"/I127.0.0.1", Read, Write, "/v3", "/t" + port, "/nSHA_DES_User", "/l3",
                                           "/a3", "/p2", Auth, Priv}
                            << "Rmon /I127.0.0.1 /t" + port
                                   + " /v3 /d /m1 /nSHA_DES_User /l3 /a3 /p2 /A**** /P**** /c /TRmon_Statistics "
                            << QStringList{Auth, Priv};
        QTest::newRow("v1") << true << QStringList{"/I127.0.0.1", Read, Write}
                            << "Rmon /I127.0.0.1 /R**** /W**** /TRmon_Statistics " << QStringList{Read, Write};
        // The switch /v found inside a pass phrase cuts it.
        QTest::newRow("bad number") << false << QStringList{"/I127.0.0.1", Read, "/v3", "/Ppriv/vQ~z-phrase"}
                                    << "The value \"****\" of the switch /v is not a valid number." << QStringList{};
    }
    void nothingShowsASecret()
    {
        QFETCH(bool, profile);
        QFETCH(QStringList, arguments);
        QFETCH(QString, outcome);
        QFETCH(QStringList, given);
        const QString folder = moduleFolder(profile);
        QTemporaryDir path;
        TestSupport::ScopedPath onlyThere(path.path());
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        auto form = std::make_unique<TMainForm>();
        if (!form->FormCreate(arguments, folder)) {
            QVERIFY(given.isEmpty());
            QCOMPARE(boxes.texts(), QStringList{outcome});
            QCOMPARE(everythingShown(boxes), QStringList());
            return;
        }
        form->show();
        // A failure of the switch's own: nothing answers.
        QTRY_VERIFY_WITH_TIMEOUT(form->StatusPanel()->text().contains(QLatin1String("timed out")), 20000);

        const QString program = QDir(folder).filePath(QStringLiteral("Rmon"));
        for (Sibling sibling : {Sibling::Started, Sibling::Missing, Sibling::Broken}) {
            QFile::remove(program);
            QFile::remove(program + QLatin1String(".args"));
            if (sibling == Sibling::Started)
                QVERIFY(!TestSupport::writeArgumentRecorder(folder, QStringLiteral("Rmon")).isEmpty());
            else if (sibling == Sibling::Broken)
                QVERIFY(!TestSupport::writeProgram(folder, QStringLiteral("Rmon"), TestSupport::BrokenProgram).isEmpty());
            form->UpdateSiblingEntries();  // their tool tips, as when the menu opens
            form->LaunchSibling(*KtMenuCatalogue::Instance().Find(QStringLiteral("Statistics1")));
            const QString status = form->StatusPanel()->text();
            if (sibling == Sibling::Started) {
                QCOMPARE(status, outcome);
                QTRY_VERIFY_WITH_TIMEOUT(!TestSupport::recordedArguments(program).isEmpty(), 20000);
                const QStringList got = TestSupport::recordedArguments(program);
                for (const QString &argument : given)
                    QVERIFY2(got.contains(argument), qPrintable(argument));
            } else {
                QVERIFY2(status.startsWith(QLatin1String("Rmon could not be started: ")), qPrintable(status));
            }
            QCOMPARE(boxes.texts(), QStringList());
            QCOMPARE(everythingShown(boxes), QStringList());
        }
    }
};

QTEST_MAIN(TestSecrets)
#include "tst_secrets.moc"
