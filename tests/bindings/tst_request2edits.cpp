// The editor binding: scalars and a table against the simulated agent, and
// every control kind and several-box type on values set by hand.
#include "support/AgentSession.h"
#include "support/ScriptedMessages.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "values/KtOptionList.h"
#include "values/widgets/KtEditConstraint.h"
#include "values/widgets/KtRadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtTest>

namespace {

const KtOptionList Forwarding({{1, {}, "forwarding"}, {2, {}, "notForwarding"}});
const KtOptionList AdminStatus({{1, {}, "up"}, {2, {}, "down"}, {3, {}, "testing"}});
const KtOptionList FirstOctet({{0, {}, "zero"}, {5, {}, "five"}});
const KtOptionList NextTwo({{1, {}, "one"}, {772, {}, "w772"}});
const KtOptionList Prefixed({{0, "1.3.6.1", "internet"}}, KtOptionList::PrefixValues);

const QString SummerStart = QStringLiteral("1.3.6.1.4.1.32473.12.10.12.3");

// A window with a memo, a binding and whatever controls a test adds.
struct Form
{
    QWidget window;
    QVBoxLayout *layout = new QVBoxLayout(&window);
    QPlainTextEdit *memo = add<QPlainTextEdit>();
    KtSNMPRequest2Edits edits{&window};
    ScriptedMessages messages{ScriptedMessages::RecordOnly{true}};

    Form() { edits.SetStatusTarget(memo); }

    bool show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    template <typename W>
    W *add()
    {
        auto *w = new W(&window);
        layout->addWidget(w);
        return w;
    }

    QList<QLineEdit *> boxes(int n)
    {
        QList<QLineEdit *> list;
        for (int i = 0; i < n; ++i)
            list.append(add<QLineEdit>());
        return list;
    }

    void var(const QString &oid, quint32 type, quint32 access, const KtOptionList *list = nullptr,
             const QString &value = {})
    {
        edits.Request.Vars.AppendVarShared(oid, oid.section('.', -1), type, access, list);
        edits.Request.Vars.Get(edits.Request.Vars.Count() - 1).Value = value;
    }

    bool readAndWait()
    {
        edits.Read();
        return QTest::qWaitFor([&] { return !edits.Busy; }, 15000);
    }

    bool writeAndWait()
    {
        edits.Write(true, true);
        return QTest::qWaitFor([&] { return !edits.Busy; }, 15000);
    }
};

// "0012CF" -> "00", "12", "CF"
QStringList octetTexts(const QString &hex)
{
    QStringList t;
    for (int i = 0; i + 1 < hex.size(); i += 2)
        t.append(hex.mid(i, 2));
    return t;
}

QStringList texts(const QList<QLineEdit *> &boxes)
{
    QStringList t;
    for (QLineEdit *b : boxes)
        t.append(b->text());
    return t;
}

} // namespace

class TestRequest2Edits : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_session.start()); }
    void cleanupTestCase() { m_session.stop(); }
    void scalarGroupRoundTrip();
    void tableWalkSelection_data();
    void tableWalkSelection();
    void partBindingKeepsOtherOctets();
    void singleControls_data();
    void singleControls();
    void bitCheckBoxes_data();
    void bitCheckBoxes();
    void multiBoxes_data();
    void multiBoxes();
    void failures_data();
    void failures();
    void unbindKeepsOtherConnections();

private:
    AgentSession m_session;
};

void TestRequest2Edits::scalarGroupRoundTrip()
{
    Form f;
    f.var("1.3.6.1.2.1.1.4", KtType::DisplayStr, KtAccess::ReadWrite);
    f.var("1.3.6.1.2.1.1.6", KtType::DisplayStr, KtAccess::ReadOnly);
    f.var("1.3.6.1.2.1.4.1", KtType::Integer, KtAccess::ReadWrite, &Forwarding);
    f.var("1.3.6.1.2.1.4.2", KtType::Integer, KtAccess::ReadWrite);
    QLineEdit *contact = f.add<QLineEdit>();
    QLabel *location = f.add<QLabel>();
    QComboBox *forwarding = f.add<QComboBox>();
    QLineEdit *ttl = f.add<QLineEdit>();
    f.edits.BindEdits(0, "%s{l64}", {contact});
    f.edits.BindStaticText(1, location);
    f.edits.BindControl(2, forwarding);
    f.edits.BindEdits(3, "%i{n1x255}", {ttl});
    QVERIFY(f.show());
    QVERIFY(f.readAndWait());
    QCOMPARE(contact->text(), QStringLiteral("noc@example.net"));
    QCOMPARE(location->text(), QStringLiteral("Lab rack 3"));
    QCOMPARE(forwarding->currentText(), QStringLiteral("forwarding"));
    QCOMPARE(ttl->text(), QStringLiteral("64"));
    QVERIFY(!f.edits.Modified);

    contact->setText("network operations centre, building 7");
    ttl->setText("32");
    QTest::keyClick(forwarding, Qt::Key_Down);
    QVERIFY(f.edits.Modified);
    QVERIFY(f.writeAndWait());
    QVERIFY2(f.memo->toPlainText().contains("Set: Ok!. Receive at"), qPrintable(f.memo->toPlainText()));
    QCOMPARE(AgentSession::value("1.3.6.1.2.1.1.4.0", KtType::DisplayStr),
             QStringLiteral("network operations centre, building 7"));
    QCOMPARE(AgentSession::value("1.3.6.1.2.1.4.1.0", KtType::Integer), QStringLiteral("2"));
    QCOMPARE(AgentSession::value("1.3.6.1.2.1.4.2.0", KtType::Integer), QStringLiteral("32"));

    // A shorter text replaces the whole string.
    contact->setText("noc");
    QVERIFY(f.writeAndWait());
    QCOMPARE(AgentSession::value("1.3.6.1.2.1.1.4.0", KtType::DisplayStr), QStringLiteral("noc"));
}

void TestRequest2Edits::tableWalkSelection_data()
{
    QTest::addColumn<bool>("async");
    QTest::newRow("asynchronous") << true;
    QTest::newRow("blocking") << false;
}

void TestRequest2Edits::tableWalkSelection()
{
    QFETCH(bool, async);
    Form f;
    f.var("1.3.6.1.2.1.2.2.1.1", KtType::Integer, KtAccess::ReadOnly);
    f.var("1.3.6.1.2.1.2.2.1.4", KtType::Integer, KtAccess::ReadOnly | KtAccess::Hidden);
    f.var("1.3.6.1.2.1.2.2.1.2", KtType::DisplayStr, KtAccess::ReadOnly);
    f.var("1.3.6.1.2.1.2.2.1.7", KtType::Integer, KtAccess::ReadWrite, &AdminStatus);
    f.edits.Request.Vars.Kind = KtKind::MVT_FMV;
    f.edits.Request.Vars.IndexCount = 1;
    f.edits.Asynchronous = async;
    QTreeWidget *view = f.add<QTreeWidget>();
    QLabel *mtu = f.add<QLabel>();
    QLabel *descr = f.add<QLabel>();
    QComboBox *admin = f.add<QComboBox>();
    f.edits.AttachListView(view);
    f.edits.BindStaticText(1, mtu);
    f.edits.BindStaticText(2, descr);
    f.edits.BindControl(3, admin);
    QVERIFY(f.show());

    // Nothing but painting may run inside a blocking walk.
    bool dispatched = false;
    QTimer::singleShot(0, [&] { dispatched = true; });
    f.edits.Read();
    QCOMPARE(dispatched, false);
    QTRY_VERIFY_WITH_TIMEOUT(!f.edits.Busy, 15000);
    QCOMPARE(view->topLevelItemCount(), 29);
    QCOMPARE(f.edits.ResultCount, 29);
    QCOMPARE(view->headerItem()->text(0), QStringLiteral("4"));  // the hidden column comes first
    QCOMPARE(view->header()->sectionSize(0), 0);
    QCOMPARE(view->topLevelItem(2)->text(2), QStringLiteral("QSX-4810 Port 3"));
    QVERIFY(!admin->isEnabled() && !descr->isEnabled());

    view->setCurrentItem(view->topLevelItem(2));
    QVERIFY(admin->isEnabled() && descr->isEnabled());
    QCOMPARE(descr->text(), QStringLiteral("QSX-4810 Port 3"));
    QCOMPARE(mtu->text(), QStringLiteral("1500"));
    QCOMPARE(admin->currentText(), QStringLiteral("up"));
    view->clearSelection();
    QVERIFY(admin->isEnabled());

    const int row = async ? 3 : 4;  // each case sets a port of its own
    view->setCurrentItem(view->topLevelItem(row));
    QTest::keyClick(admin, Qt::Key_Down);
    QVERIFY(f.edits.Modified);
    f.edits.Write(true, true);
    QTRY_VERIFY_WITH_TIMEOUT(!f.edits.Busy && view->topLevelItemCount() == 29, 15000);
    QCOMPARE(AgentSession::value(QStringLiteral("1.3.6.1.2.1.2.2.1.7.%1").arg(row + 1), KtType::Integer), "2");
    QCOMPARE(view->topLevelItem(row)->text(3), QStringLiteral("down"));
    QVERIFY(!admin->isEnabled());  // the refresh lost the selection
}

void TestRequest2Edits::partBindingKeepsOtherOctets()
{
    Form f;
    f.var(SummerStart, KtType::OctetStr, KtAccess::ReadWrite);
    QComboBox *first = f.add<QComboBox>();
    QComboBox *next = f.add<QComboBox>();
    f.edits.BindControlAs(0, 0, KtType::UInt8, &FirstOctet, first);
    f.edits.BindControlAs(0, 1, KtType::UInt16, &NextTwo, next);
    QVERIFY(f.readAndWait());
    QCOMPARE(first->currentText(), QStringLiteral("zero"));
    QCOMPARE(next->currentText(), QStringLiteral("one"));
    QTest::keyClick(first, Qt::Key_Down);
    QTest::keyClick(next, Qt::Key_Down);
    QVERIFY(f.writeAndWait());
    QCOMPARE(AgentSession::value(SummerStart + ".0", KtType::OctetStr), QStringLiteral("050304030200"));
}

void TestRequest2Edits::singleControls_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("shown");  // index selected, or 1/0 for a check box
    QTest::addColumn<QString>("taken");  // after the user picks the other entry
    QTest::newRow("combo by label") << "combo" << "enabled" << 1 << "disabled";
    QTest::newRow("combo by value") << "combo" << "3" << 1 << "disabled";
    QTest::newRow("combo outside the list") << "combo" << "7" << -1 << "disabled";
    QTest::newRow("check box on") << "check" << "enabled" << 1 << "disabled";
    QTest::newRow("check box off") << "check" << "disabled" << 0 << "enabled";
    QTest::newRow("radio group") << "radio" << "disabled" << 0 << "enabled";
    QTest::newRow("truth check box") << "truth" << "true" << 1 << "false";
}

void TestRequest2Edits::singleControls()
{
    QFETCH(QString, kind);
    QFETCH(QString, value);
    QFETCH(int, shown);
    QFETCH(QString, taken);
    Form f;
    const bool truth = kind == "truth";
    f.var("1.3.6.1.4.1.32473.99.1", truth ? KtType::Boolean : KtType::Integer, KtAccess::ReadWrite,
          truth ? nullptr : &KtOptionLists::DisabledEnabled(), value);
    auto *combo = kind == "combo" ? f.add<QComboBox>() : nullptr;
    auto *check = kind == "check" || truth ? f.add<QCheckBox>() : nullptr;
    auto *radio = kind == "radio" ? f.add<KtRadioGroup>() : nullptr;
    f.edits.Bind(0, 0, f.edits.Request.Vars.Get(0).Type, nullptr,
                 combo ? static_cast<QWidget *>(combo) : check ? static_cast<QWidget *>(check) : radio);
    QVERIFY(f.show());
    f.edits.ShowValues();
    if (combo) {
        QCOMPARE(combo->currentIndex(), shown);
        combo->setCurrentIndex(0);
    } else if (check) {
        QCOMPARE(int(check->isChecked()), shown);
        QTest::keyClick(check, Qt::Key_Space);
    } else {
        QCOMPARE(radio->itemIndex(), shown);
        QTest::keyClick(radio->button(1 - shown), Qt::Key_Space);
    }
    QCOMPARE(f.edits.Modified, !combo);
    f.edits.TakeValues();
    QCOMPARE(f.edits.Request.Vars.Get(0).Value, taken);
}

void TestRequest2Edits::bitCheckBoxes_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("bits");
    QTest::addColumn<QList<bool>>("checked");
    QTest::addColumn<int>("toggle");
    QTest::addColumn<QString>("taken");
    QTest::newRow("bits 1-3 of 60") << "60" << "1,2,3" << QList<bool>{true, true, false} << 0 << "20";
    QTest::newRow("second octet") << "8040A5" << "0,9" << QList<bool>{true, true} << 1 << "8000A5";
    QTest::newRow("bits without box cleared") << "FF" << "1,2,3" << QList<bool>{true, true, true} << 0 << "30";
}

void TestRequest2Edits::bitCheckBoxes()
{
    QFETCH(QString, value);
    QFETCH(QString, bits);
    QFETCH(QList<bool>, checked);
    QFETCH(int, toggle);
    QFETCH(QString, taken);
    Form f;
    f.var("1.3.6.1.4.1.32473.99.2", KtType::BitStr, KtAccess::ReadWrite, nullptr, value);
    QList<QCheckBox *> boxes;
    for (int i = 0; i < checked.size(); ++i)
        boxes.append(f.add<QCheckBox>());
    try {
        f.edits.BindBitCheckBoxes(0, bits, boxes);
        f.edits.ShowValues();
    } catch (const KtException &e) {
        QFAIL(qPrintable(e.message()));
    }
    for (int i = 0; i < boxes.size(); ++i)
        QCOMPARE(boxes.at(i)->isChecked(), checked.at(i));
    boxes.at(toggle)->toggle();
    f.edits.TakeValues();
    QCOMPARE(f.edits.Request.Vars.Get(0).Value, taken);
}

void TestRequest2Edits::multiBoxes_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("taken");
    const QString v6 = QStringLiteral("FE80000000000000021BCF3A0B410001");
    QTest::newRow("mac") << quint32(KtType::MacAddress) << "0012CF3A0B41"
                         << QStringList{"00", "12", "CF", "3A", "0B", "41"}
                         << QStringList{"1", "A", "", "3A", "0B", "41"} << "010A003A0B41";
    QTest::newRow("ipv6") << quint32(KtType::Ipv6Address) << v6 << octetTexts(v6) << octetTexts(v6) << v6;
    // Boxes past the value are emptied, and left out again when taken.
    QTest::newRow("hex shorter than the boxes") << quint32(KtType::OctetStr) << "AABB"
                                                << QStringList{"AA", "BB", "", ""}
                                                << QStringList{"AA", "", "C", ""} << "AA000C";
    QTest::newRow("hex in one box") << quint32(KtType::OctetStr) << "AABBCCDD" << QStringList{"AABBCCDD"}
                                    << QStringList{"11"} << "11";
    QTest::newRow("ipv4") << quint32(KtType::IpAddress) << "10.90.90.90" << QStringList{"10", "90", "90", "90"}
                          << QStringList{"192", "168", "0", "1"} << "192.168.0.1";
    QTest::newRow("ipv4 not read") << quint32(KtType::IpAddress) << "(NULL)" << QStringList{"7", "7", "7", "7"}
                                   << QStringList{"1", "2", "3", "4"} << "1.2.3.4";
    QTest::newRow("time ticks") << quint32(KtType::TimeTicks) << "2 days, 1:02:03.04"
                                << QStringList{"2", "1", "2", "3", "4"} << QStringList{"0", "0", "0", "45", "0"}
                                << "0:00:45.00";
    QTest::newRow("date and time") << quint32(KtType::DateTime) << "2008-3-14,13:5:9.0,-5:30"
                                   << QStringList{"2008", "3", "14", "13", "5", "9", "0", "-", "5", "30"}
                                   << QStringList{"2009", "12", "31", "23", "59", "58", "7", "+", "0", "0"}
                                   << "2009-12-31,23:59:58.7";
    QTest::newRow("object id") << quint32(KtType::ObjectId) << "1.3.6" << QStringList{"1", "3", "6", ""}
                               << QStringList{"1", "3", "6", ""} << "1.3.6";
    QTest::newRow("date before 1900") << quint32(KtType::BcDateTime) << "1899/12/29 06:00:00 am"
                                      << QStringList{"1899", "12", "29", "6", "0", "0", "0"}
                                      << QStringList{"1899", "12", "28", "18", "30", "0", "0"}
                                      << "1899/12/28 06:30:00 pm";
    QTest::newRow("date and time of day") << quint32(KtType::BcDateTime) << "2008/03/14 01:05:09 pm"
                                          << QStringList{"2008", "3", "14", "13", "5", "9", "0"}
                                          << QStringList{"2009", "12", "31", "0", "0", "1", "0"}
                                          << "2009/12/31 12:00:01 am";
}

void TestRequest2Edits::multiBoxes()
{
    QFETCH(quint32, type);
    QFETCH(QString, value);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, typed);
    QFETCH(QString, taken);
    Form f;
    f.var("1.3.6.1.4.1.32473.99.3", type, KtAccess::ReadWrite, nullptr, value);
    const QList<QLineEdit *> boxes = f.boxes(int(shown.size()));
    f.edits.BindEdits(0, QStringLiteral("%s").repeated(boxes.size()), boxes);
    for (QLineEdit *box : boxes)
        box->setText("7");  // left from a row shown before
    f.edits.ShowValues();
    QCOMPARE(texts(boxes), shown);
    for (int i = 0; i < boxes.size(); ++i)
        boxes.at(i)->setText(typed.at(i));
    f.edits.TakeValues();
    QCOMPARE(f.edits.Request.Vars.Get(0).Value, taken);
}

void TestRequest2Edits::failures_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("code");
    QTest::newRow("radio group without list") << "radio" << -520;
    QTest::newRow("combo box without list") << "combo" << -520;
    QTest::newRow("push button") << "button" << -521;
    QTest::newRow("prefix list alone") << "prefix" << -522;
    QTest::newRow("five boxes for a MAC") << "mac" << -522;
    QTest::newRow("bits of an empty value") << "bits" << -519;
    QTest::newRow("part past the end") << "part" << -519;
    QTest::newRow("check box on a number") << "check" << -517;
}

void TestRequest2Edits::failures()
{
    QFETCH(QString, how);
    QFETCH(int, code);
    Form f;
    const quint32 type = how == "mac" ? KtType::MacAddress : how == "check" ? KtType::Integer : KtType::OctetStr;
    f.var("1.3.6.1.4.1.32473.99.4", type, KtAccess::ReadWrite, nullptr,
          how == "bits" ? QString() : QStringLiteral("0012CF3A0B41"));
    const KtSNMPVarList before = f.edits.Request.Vars;
    try {
        if (how == "radio")
            f.edits.Bind(0, 0, type, nullptr, f.add<KtRadioGroup>());
        else if (how == "combo")
            f.edits.BindControl(0, f.add<QComboBox>());
        else if (how == "button")
            f.edits.Bind(0, 0, type, nullptr, f.add<QPushButton>());
        else if (how == "prefix")
            f.edits.BindControlAs(0, 0, KtType::ObjectId, &Prefixed, f.add<QComboBox>());
        else if (how == "mac")
            f.edits.BindEdits(0, QStringLiteral("%h").repeated(5), f.boxes(5));
        else if (how == "bits")
            f.edits.BindBitCheckBoxes(0, "1", {f.add<QCheckBox>()});
        else if (how == "part")
            f.edits.BindControlAs(0, 5, KtType::UInt16, &NextTwo, f.add<QComboBox>());
        else
            f.edits.Bind(0, 0, type, nullptr, f.add<QCheckBox>());
        f.edits.ShowValues();
        QFAIL("no exception");
    } catch (const KtException &e) {
        QCOMPARE(e.code(), code);
        QCOMPARE(e.message(), KtCatalogue::Text(KtCatalogue::Engine, -500 - code));
    }
    QCOMPARE(f.edits.Request.Vars.Get(0).Value, before.Get(0).Value);
}

void TestRequest2Edits::unbindKeepsOtherConnections()
{
    Form f;
    f.var("1.3.6.1.4.1.32473.99.5", KtType::Integer, KtAccess::ReadWrite, &KtOptionLists::DisabledEnabled(),
          "enabled");
    QComboBox *combo = f.add<QComboBox>();
    QLineEdit *edit = f.add<QLineEdit>();
    int foreign = 0;
    QObject::connect(combo, &QComboBox::activated, [&] { ++foreign; });
    f.edits.BindControl(0, combo);
    f.edits.BindEdits(0, "%i{n1x9}", {edit});
    QCOMPARE(f.edits.BindingCount(), 2);
    f.edits.Unbind(0);
    QCOMPARE(f.edits.BindingCount(), 0);
    QVERIFY(!f.edits.Constraint->IsAttached(edit));
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(foreign, 1);
    QVERIFY(!f.edits.Modified);
    f.edits.TakeValues();
    QCOMPARE(f.edits.Request.Vars.Get(0).Value, QStringLiteral("enabled"));
}

QTEST_MAIN(TestRequest2Edits)
#include "tst_request2edits.moc"
