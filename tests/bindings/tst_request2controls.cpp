// The request-to-controls base against the simulated agent: status lines,
// the done callbacks, refresh after a set, and bindings deleted while
// their exchanges are outstanding.
#include "support/AgentSession.h"
#include "support/ScriptedMessages.h"

#include "bindings/KtRequestLink.h"
#include "bindings/KtSNMPRequest2Controls.h"
#include "bindings/KtSNMPRequest2Edits.h"
#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "values/KtOptionList.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStatusBar>
#include <QTreeWidget>
#include <QtTest>

namespace {

const KtOptionList AdminStatus({{1, {}, "up"}, {2, {}, "down"}, {3, {}, "testing"}});

// Counts what the base hands to a binding; the counters outlive it.
struct Counters
{
    int rows = 0;
    int beforeReads = 0;
    int done = 0;
    int doneCode = 0;
    QString doneMessage;
};

class Probe : public KtSNMPRequest2Controls
{
public:
    explicit Probe(Counters &c, QWidget *owner = nullptr) : KtSNMPRequest2Controls(owner), m_c(c)
    {
        OnReadDone = OnWriteDone = [this](KtSNMPRequest2Controls *, const KtSNMPError &r) {
            ++m_c.done;
            m_c.doneCode = r.Code;
            m_c.doneMessage = r.Message;
        };
    }
    void RowReceived() override { ++m_c.rows; }
    void BeforeRead() override { ++m_c.beforeReads; }

private:
    Counters &m_c;
};

// The editor binding, its rows going into a list view, counted like Probe's.
class EditsProbe : public KtSNMPRequest2Edits
{
public:
    EditsProbe(Counters &c, QTreeWidget *view) : KtSNMPRequest2Edits(nullptr), m_c(c) { AttachListView(view); }
    void RowReceived() override
    {
        ++m_c.rows;
        KtSNMPRequest2Edits::RowReceived();
    }

private:
    Counters &m_c;
};

void scalars(KtSNMPVarList &l, bool failingSet)
{
    // sysDescr is read-only on the agent: declaring it writable makes the set fail.
    l.AppendVar(failingSet ? "1.3.6.1.2.1.1.1" : "1.3.6.1.2.1.1.4", "item", KtType::DisplayStr,
                KtAccess::ReadWrite);
    l.Get(0).Value = QStringLiteral("ops@example.net");
    l.Kind = KtKind::SVT_SV;
}

void adminTable(KtSNMPVarList &l)
{
    l.AppendVar("1.3.6.1.2.1.2.2.1.1", "ifIndex", KtType::Integer, KtAccess::ReadOnly);
    l.AppendVarShared("1.3.6.1.2.1.2.2.1.7", "ifAdminStatus", KtType::Integer, KtAccess::ReadWrite, &AdminStatus);
    l.Kind = KtKind::MVT_UMV;
    l.IndexCount = 1;
}

void unreachable(KtSNMPRequest &r)
{
    r.AgentPort = AgentProcess::FreePort();
    r.Timeout = 30;
    r.Retries = 0;
}

} // namespace

class TestRequest2Controls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_session.start()); }
    void cleanupTestCase() { m_session.stop(); }
    void statusText_data();
    void statusText();
    void statusTargets_data();
    void statusTargets();
    void asyncOutcome_data();
    void asyncOutcome();
    void blockingFailureIsRaised();
    void refreshAfterSet_data();
    void refreshAfterSet();
    void conditionRejectsRows();
    void deletedWhileOutstanding_data();
    void deletedWhileOutstanding();

private:
    AgentSession m_session;
};

void TestRequest2Controls::statusText_data()
{
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("expected");
    const QTime morning(10, 15, 2);
    QTest::newRow("no name") << "" << 0 << "" << morning << "Get: Ok!. Receive at 10:15:02 AM.";
    QTest::newRow("led name") << "" << 0 << " Led Status" << morning
                              << "Get: Ok! Request: Led Status. Receive at 10:15:02 AM.";
    QTest::newRow("set afternoon") << "" << 1 << " Port List" << QTime(13, 0, 9)
                                   << "Set: Ok! Request: Port List. Receive at 01:00:09 PM.";
    QTest::newRow("midnight") << "" << 0 << "" << QTime(0, 5, 0) << "Get: Ok!. Receive at 12:05:00 AM.";
    QTest::newRow("noon") << "" << 1 << "" << QTime(12, 0, 0) << "Set: Ok!. Receive at 12:00:00 PM.";
    QTest::newRow("loaded file") << "\n[ERROR] reading[VARLIST] ([TIME])\n\nwrote [ERROR]\n" << 0 << "" << morning
                                 << "Ok! (10:15:02 AM)";
}

void TestRequest2Controls::statusText()
{
    QFETCH(QString, catalogue);
    QFETCH(int, operation);
    QFETCH(QString, name);
    QFETCH(QTime, time);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    if (!catalogue.isEmpty()) {
        QFile f(dir.filePath(KtCatalogue::FileName(KtCatalogue::Templates)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(catalogue.toUtf8());
        f.close();
        QVERIFY(KtCatalogue::LoadCatalogue(KtCatalogue::Templates, f.fileName()));
    }
    const QString text = KtSNMPRequest2Controls::StatusText(operation, name, QStringLiteral("Ok!"), time);
    KtCatalogue::RestoreBuiltIn(KtCatalogue::Templates);
    QCOMPARE(text, expected);
}

void TestRequest2Controls::statusTargets_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("shown");
    QTest::newRow("memo") << "memo" << true;
    QTest::newRow("status bar") << "bar" << true;
    QTest::newRow("panel of a status bar") << "panel" << true;
    QTest::newRow("label elsewhere") << "label" << false;
    QTest::newRow("edit box") << "edit" << false;
}

void TestRequest2Controls::statusTargets()
{
    QFETCH(QString, target);
    QFETCH(bool, shown);
    ScriptedMessages messages{ScriptedMessages::RecordOnly{true}};
    QPlainTextEdit memo("earlier");
    QStatusBar bar;
    auto *panel = new QLabel;
    bar.addWidget(panel);
    QLabel label;
    QLineEdit edit;
    Counters c;
    Probe p(c);
    p.Request.Vars.DisplayName = QStringLiteral(" Port List");
    if (target == "bar")
        p.SetStatusBar(&bar);
    else if (target == "panel")
        p.SetStatusPanel(panel);
    else
        p.SetStatusTarget(target == "memo" ? &memo : target == "label" ? static_cast<QObject *>(&label) : &edit);
    p.WriteFailed(KtSNMPError{-405, 0, QStringLiteral("SNMP request timed out!"), {}, 0, true});
    const QString seen = target == "memo" ? memo.toPlainText()
        : target == "bar"                 ? bar.currentMessage()
        : target == "panel"               ? panel->text()
                                          : label.text() + edit.text();
    const QString line = QStringLiteral("Set: SNMP request timed out! Request: Port List. Receive at ");
    QVERIFY2(seen.startsWith(target == "memo" ? "earlier\n" + line : line) == shown, qPrintable(seen));
    QVERIFY(shown || seen.isEmpty());
    QVERIFY(messages.shown().isEmpty());  // a target of another kind still takes the place of a box
}

void TestRequest2Controls::asyncOutcome_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<bool>("withTarget");
    QTest::addColumn<bool>("fail");
    QTest::addColumn<int>("doneCalls");
    for (bool write : {false, true})
        for (bool withTarget : {true, false})
            for (bool fail : {false, true}) {
                // A read that succeeds calls back only with a status line to show it in.
                const int calls = !write && !fail && !withTarget ? 0 : 1;
                QTest::addRow("%s %s %s", write ? "write" : "read", withTarget ? "memo" : "no target",
                              fail ? "fails" : "succeeds")
                    << write << withTarget << fail << calls;
            }
}

void TestRequest2Controls::asyncOutcome()
{
    QFETCH(bool, write);
    QFETCH(bool, withTarget);
    QFETCH(bool, fail);
    QFETCH(int, doneCalls);
    ScriptedMessages messages{ScriptedMessages::RecordOnly{true}};
    QWidget owner;
    QPlainTextEdit memo;
    Counters c;
    Probe p(c, &owner);
    scalars(p.Request.Vars, write && fail);
    if (fail && !write)
        unreachable(p.Request);
    if (withTarget)
        p.SetStatusTarget(&memo);
    if (write)
        p.Write(false, false);
    else
        p.Read();
    QVERIFY(p.Busy);
    QTRY_VERIFY_WITH_TIMEOUT(!p.Busy, 20000);
    QVERIFY(TestSupport::pumpTicked());  // nothing more may follow
    QCOMPARE(c.done, doneCalls);
    QCOMPARE(c.rows, !write && !fail ? 1 : 0);
    if (doneCalls)
        QCOMPARE(c.doneCode != 0, fail);
    const QString message = !fail ? QStringLiteral("Ok!")
        : write                   ? c.doneMessage
                                  : QStringLiteral("SNMP request timed out!");
    if (fail)
        QVERIFY2(write ? c.doneCode <= -101 && c.doneCode >= -118 : c.doneCode == -405, qPrintable(message));
    const QString prefix = QString(write ? "Set: " : "Get: ") + message + ". Receive at ";
    if (withTarget) {
        QVERIFY2(memo.toPlainText().startsWith(prefix), qPrintable(memo.toPlainText()));
        QVERIFY(messages.shown().isEmpty());
    } else {
        QCOMPARE(messages.shown().size(), fail ? 1 : 0);
        if (fail) {
            QCOMPARE(messages.shown().first().text, message);
            QCOMPARE(messages.shown().first().caption, KtMessageService::DefaultCaption());
            QCOMPARE(messages.shown().first().owner.data(), &owner);
        }
    }
}

// The failure of a blocking read reaches the caller; a write's is in refreshAfterSet.
void TestRequest2Controls::blockingFailureIsRaised()
{
    Counters c;
    Probe p(c);
    scalars(p.Request.Vars, false);
    unreachable(p.Request);
    p.Asynchronous = false;
    try {
        p.Read();
        QFAIL("no exception");
    } catch (const KtException &e) {
        QCOMPARE(e.code(), -405);
        QCOMPARE(e.message(), QStringLiteral("SNMP request timed out!"));
    }
    QVERIFY(!p.Busy);
}

void TestRequest2Controls::refreshAfterSet_data()
{
    QTest::addColumn<bool>("async");
    QTest::addColumn<bool>("refresh");
    QTest::addColumn<bool>("fail");
    for (bool async : {true, false})
        for (bool refresh : {true, false})
            for (bool fail : {false, true})
                QTest::addRow("%s %s %s", async ? "async" : "blocking", refresh ? "refresh" : "no refresh",
                              fail ? "fails" : "succeeds")
                    << async << refresh << fail;
}

void TestRequest2Controls::refreshAfterSet()
{
    QFETCH(bool, async);
    QFETCH(bool, refresh);
    QFETCH(bool, fail);
    ScriptedMessages messages{ScriptedMessages::RecordOnly{true}};
    QPlainTextEdit memo;
    Counters c;
    Probe p(c);
    adminTable(p.Request.Vars);
    p.Asynchronous = async;
    p.SetStatusTarget(&memo);
    p.Request.Vars.Get(0).Value = QStringLiteral("5");
    p.Request.Vars.Get(1).Value = fail ? QStringLiteral("7") : QStringLiteral("up");
    try {
        p.Write(refresh, false);
        QVERIFY(!fail || async);
    } catch (const KtException &e) {
        QVERIFY(fail && !async);
        QVERIFY(e.code() < 0);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!p.Busy, 20000);
    QVERIFY(TestSupport::pumpTicked());
    QVERIFY(!p.Busy);
    const bool reread = refresh && !fail;
    QCOMPARE(c.beforeReads, reread ? 1 : 0);
    QCOMPARE(c.rows, reread ? 29 : 0);
    QCOMPARE(p.ResultCount, reread ? 29 : 0);
}

void TestRequest2Controls::conditionRejectsRows()
{
    QPlainTextEdit memo;
    Counters c;
    Probe p(c);
    adminTable(p.Request.Vars);
    p.Request.Condition = QStringLiteral("$0 = 3");
    p.SetStatusTarget(&memo);
    p.Read();
    QTRY_VERIFY_WITH_TIMEOUT(!p.Busy, 20000);
    QCOMPARE(c.rows, 1);
    QCOMPARE(p.ResultCount, 1);
    QCOMPARE(c.done, 1);
}

void TestRequest2Controls::deletedWhileOutstanding_data()
{
    QTest::addColumn<bool>("inDone");
    QTest::addColumn<bool>("editor");
    QTest::addColumn<int>("repetitions");  // get-bulk of one row per exchange keeps the walk slow
    QTest::newRow("during a slow walk") << false << false << 0;
    QTest::newRow("editor binding during a slow walk") << false << true << 0;
    QTest::newRow("during a slow get-bulk walk") << false << false << 1;
    QTest::newRow("editor binding during a slow get-bulk walk") << false << true << 1;
    QTest::newRow("from its own done callback") << true << false << -1;
}

void TestRequest2Controls::deletedWhileOutstanding()
{
    QFETCH(bool, inDone);
    QFETCH(bool, editor);
    QFETCH(int, repetitions);
    AgentProcess slow;
    if (!inDone)
        QVERIFY(slow.startClean({"--delay", "150"}));
    QPlainTextEdit memo;
    QTreeWidget view;
    Counters c;
    QPointer<KtSNMPRequest2Controls> p = editor ? static_cast<KtSNMPRequest2Controls *>(new EditsProbe(c, &view))
                                                : new Probe(c);
    adminTable(p->Request.Vars);
    p->Request.BulkRepetitions = repetitions;
    if (!inDone)
        p->Request.AgentPort = slow.port();
    const quint16 port = p->Request.AgentPort;
    p->SetStatusTarget(&memo);
    if (inDone)
        p->OnReadDone = [&](KtSNMPRequest2Controls *b, const KtSNMPError &) {
            ++c.done;
            delete b;
        };
    p->Read();
    if (inDone) {
        QTRY_VERIFY_WITH_TIMEOUT(p.isNull(), 20000);
        QCOMPARE(c.rows, 29);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(c.rows >= 1, 20000);
        delete p;
        QVERIFY(KtRequestLink::KeptRequests() >= 1);  // the next row is on its way
    }
    const int rows = c.rows;
    const int shownRows = view.topLevelItemCount();
    const QString status = memo.toPlainText();
    QTRY_COMPARE_WITH_TIMEOUT(KtRequestLink::KeptRequests(), 0, 20000);
    QVERIFY(AgentSession::fence(port));  // anything still on its way has come in
    QCOMPARE(c.rows, rows);
    QCOMPARE(c.done, inDone ? 1 : 0);
    QCOMPARE(memo.toPlainText(), status);
    QCOMPARE(view.topLevelItemCount(), shownRows);
    slow.stop();
}

QTEST_MAIN(TestRequest2Controls)
#include "tst_request2controls.moc"
