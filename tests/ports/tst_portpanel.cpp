// The front panel's ports against the simulated agent: tool tips read on
// hover, overlays from two polls, selection by mouse and keyboard, and one
// value written to several ports in one SET, all or nothing.

#include "ports/KtMultiPortWrite.h"
#include "ports/KtPortColumns.h"
#include "ports/KtPortMap.h"
#include "ports/widgets/KtPortPanel.h"
#include "ports/widgets/TEditPortsForm.h"

#include "mib/KtMibData.h"
#include "snmp/KtSNMPRequest.h"
#include "snmp/KtWriteObserver.h"
#include "support/AgentSession.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString IfAlias = QStringLiteral("1.3.6.1.2.1.31.1.1.1.18");
const QString Pvid = QStringLiteral("1.3.6.1.2.1.17.7.1.4.5.1.1");

KtPortColumn column(const QString &table, const QString &oid)
{
    const KtSNMPVarTable *vars = KtMibData::Instance().FindTable(table);
    for (const KtSNMPVar &v : *vars)
        if (v.Oid == oid)
            return KtPortColumn{table, v, QStringLiteral("%1")};
    return {};
}

// Counts the sets that go out and the objects in each.
struct SetCounter : KtWriteObserver
{
    QList<int> sets;
    void AboutToWrite(KtSNMPRequest &, QList<KtWrittenObject> &) override {}
    void Written(const KtSNMPRequest &, const QList<KtWrittenObject> &objects) override { sets << int(objects.size()); }
};

QStringList agentValues(const QString &oid, quint32 type, const QList<int> &ports)
{
    QStringList values;
    for (int port : ports)
        values << AgentSession::value(oid + QLatin1Char('.') + QString::number(port), type);
    return values;
}

} // namespace

class TestPortPanel : public QObject
{
    Q_OBJECT

    AgentSession m_session;
    QWidget m_picture;
    KtPortPanel *m_panel = nullptr;

    void hover(int port)
    {
        QWidget *spot = m_panel->PortWidget(port);
        const QPoint at = spot->rect().center();
        QHelpEvent tip(QEvent::ToolTip, at, spot->mapToGlobal(at));
        QCoreApplication::sendEvent(spot, &tip);
    }

private slots:
    void initTestCase()
    {
        // Counters move with every request, so two reads always differ.
        QVERIFY(m_session.start({QStringLiteral("--counters-per-request")}));
        m_picture.resize(919, 113);
        m_panel = new KtPortPanel(&m_picture, QStringLiteral("127.0.0.1"));
        m_picture.show();
    }
    void cleanupTestCase()
    {
        delete m_panel;
        m_session.stop();
    }

    void toolTipOnHover_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("name");
        QTest::newRow("linked") << 1 << "Link: up, 1 Gbit/s, full duplex" << "Port 1, link up, 1 Gbit/s, full duplex";
        QTest::newRow("unlinked") << 7 << "Link: down" << "Port 7, link down";
    }
    void toolTipOnHover()
    {
        QFETCH(int, port);
        QFETCH(QString, link);
        QSignalSpy read(m_panel, &KtPortPanel::portsRead);
        hover(port);
        QCOMPARE(m_panel->ToolTipText(port), QStringLiteral("Port %1\nReading...").arg(port));
        QVERIFY(read.wait(10000));
        const QStringList lines = m_panel->ToolTipText(port).split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Port %1").arg(port));
        QCOMPARE(lines.value(1), link);
        const QString alias = AgentSession::value(IfAlias + QLatin1Char('.') + QString::number(port), KtType::DisplayStr);
        QCOMPARE(lines.contains(QStringLiteral("Description: ") + alias), !alias.isEmpty());
        QTEST(m_panel->PortWidget(port)->accessibleName(), "name");

        // Hovers within the second after a read wait for it to pass.
        const QElapsedTimer since = [] { QElapsedTimer t; t.start(); return t; }();
        hover(port);
        QVERIFY(AgentSession::fence(m_session.agent.port()));
        QCOMPARE(read.size(), 1);
        QVERIFY(read.wait(10000));
        QVERIFY(since.elapsed() >= KtPortPanel::HoverReadMs / 2);
    }

    void overlaysFromTwoPolls()
    {
        KtSNMPRequest set;
        set.Vars.Kind = KtKind::MVT_SV;
        set.Vars.AppendVar(Pvid + QStringLiteral(".5"), QStringLiteral("PVID"), KtType::Gauge, KtAccess::ReadWrite);
        set.Vars.Get(0).Value = QStringLiteral("20");
        set.Store();

        QSignalSpy read(m_panel, &KtPortPanel::portsRead);
        m_panel->SetMode(KtPortOverlay::Utilisation);  // polls at once
        QVERIFY(read.wait(10000));
        QCOMPARE(m_panel->MarkOf(20).Text, QStringLiteral("-"));  // one read: no rate yet
        m_panel->PollNow();
        QVERIFY(read.wait(10000));
        for (int port : KtPortMap::Ports()) {
            const KtPortOverlay::Mark mark = m_panel->MarkOf(port);
            const bool up = m_panel->Sample(port)->OperStatus == KtPortSample::LinkUp;
            bool number = false;
            const int percent = mark.Text.toInt(&number);
            QVERIFY2(number && percent >= 0 && percent <= 100, qPrintable(QString::number(port) + mark.Text));
            // Traffic runs on linked ports only.
            QCOMPARE(percent > 0, up);
        }
        m_panel->SetMode(KtPortOverlay::Vlan);
        QVERIFY(read.wait(10000));
        QCOMPARE(m_panel->MarkOf(5).Text, QStringLiteral("20"));
        QCOMPARE(m_panel->MarkOf(6).Text, AgentSession::value(Pvid + QStringLiteral(".6"), KtType::Gauge));
        QVERIFY(!m_panel->LegendLabel()->text().isEmpty());
        m_panel->SetMode(KtPortOverlay::Leds);
        QVERIFY(!m_panel->MarkOf(5).Shown);
        QVERIFY(m_panel->LegendLabel()->text().isEmpty());
    }

    void selectionByMouseAndKeys()
    {
        QSignalSpy opened(m_panel, &KtPortPanel::portActivated);
        m_panel->SetSelected({});
        QVERIFY(!m_panel->EditButton()->isEnabled());
        QWidget *one = m_panel->PortWidget(1);
        one->setFocus();
        QTest::keyClick(one, Qt::Key_Right);
        QTRY_VERIFY(m_panel->PortWidget(2)->hasFocus());
        QTest::keyClick(m_panel->PortWidget(2), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(m_panel->Selected(), (QList<int>{2, 3}));
        QTest::mouseClick(m_panel->PortWidget(7), Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(m_panel->Selected(), (QList<int>{2, 3, 7}));
        QTest::mouseClick(m_panel->PortWidget(10), Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(m_panel->Selected(), (QList<int>{7, 8, 9, 10}));
        QTest::keyClick(m_panel->PortWidget(10), Qt::Key_Space);
        QCOMPARE(m_panel->Selected(), (QList<int>{7, 8, 9}));
        QVERIFY(m_panel->EditButton()->isEnabled());
        QVERIFY(opened.isEmpty());
        QTest::keyClick(m_panel->PortWidget(10), Qt::Key_Return);
        QCOMPARE(opened.takeFirst().value(0).toInt(), 10);
        QTest::mouseClick(m_panel->PortWidget(12), Qt::LeftButton);
        QCOMPARE(opened.takeFirst().value(0).toInt(), 12);
        QCOMPARE(m_panel->Selected(), QList<int>{12});
    }

    void oneSetForSeveralPorts_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("oid");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("taken");
        QTest::newRow("pvid") << "PortsInformation" << Pvid << quint32(KtType::Gauge) << "30" << true;
        QTest::newRow("pvid refused") << "PortsInformation" << Pvid << quint32(KtType::Gauge) << "5000" << false;
        QTest::newRow("alias") << "IFXTable" << IfAlias << quint32(KtType::DisplayStr) << "core" << true;
    }
    void oneSetForSeveralPorts()
    {
        QFETCH(QString, table);
        QFETCH(QString, oid);
        QFETCH(quint32, type);
        QFETCH(QString, value);
        QFETCH(bool, taken);
        const QList<int> ports{3, 4, 5};
        const QStringList before = agentValues(oid, type, ports);
        SetCounter counter;
        KtWriteObserver::Install(&counter);
        KtMultiPortWrite writer;
        QSignalSpy finished(&writer, &KtMultiPortWrite::finished);
        QVERIFY(writer.Start(column(table, oid), ports, value));
        QVERIFY(finished.wait(10000));
        KtWriteObserver::Install(nullptr);
        const QString message = finished.first().value(1).toString();
        QCOMPARE(finished.first().value(0).toBool(), taken);
        if (taken) {
            QCOMPARE(counter.sets, QList<int>{3});  // one PDU with the three ports
            QCOMPARE(agentValues(oid, type, ports), (QStringList{value, value, value}));
            QVERIFY2(message.contains(QStringLiteral("ports 3-5")), qPrintable(message));
        } else {
            QVERIFY(counter.sets.isEmpty());
            QCOMPARE(agentValues(oid, type, ports), before);
            QVERIFY2(message.contains(QStringLiteral("of port 3 (%1.3)").arg(oid)), qPrintable(message));
            QVERIFY2(message.endsWith(QStringLiteral("No port was changed.")), qPrintable(message));
        }
    }

    void offeredColumns()
    {
        QStringList oids;
        for (const KtPortColumn &c : KtPortColumns::Shared())
            oids << c.Var.Oid;
        for (const char *oid : {"1.3.6.1.2.1.2.2.1.7", "1.3.6.1.2.1.31.1.1.1.18", "1.3.6.1.2.1.17.7.1.4.5.1.1"})
            QVERIFY2(oids.contains(QLatin1String(oid)), oid);
        QVERIFY(!oids.contains(QStringLiteral("1.3.6.1.2.1.2.2.1.8")));  // read-only
    }

    // Ports 3-5 join VLAN 2's egress list in one write; its other ports stay.
    void vlanMembership()
    {
        KtPortColumn egress;
        for (const KtPortColumn &c : KtPortColumns::VlanMembership())
            if (c.BitmapRow == QLatin1String("2") && c.Var.Label.contains(QLatin1String("Egress")))
                egress = c;
        QVERIFY(egress.IsBitmap());
        const QString oid = egress.Var.Oid + QStringLiteral(".2");
        const QByteArray before = QByteArray::fromHex(AgentSession::value(oid, KtType::BitStr).toLatin1());
        KtMultiPortWrite writer;
        QSignalSpy finished(&writer, &KtMultiPortWrite::finished);
        QVERIFY(writer.Start(egress, {3, 4, 5}, KtPortColumn::Member()));
        QVERIFY(finished.wait(10000));
        QVERIFY2(finished.first().value(0).toBool(), qPrintable(finished.first().value(1).toString()));
        const QByteArray after = QByteArray::fromHex(AgentSession::value(oid, KtType::BitStr).toLatin1());
        QCOMPARE(after, KtPortBits::With(before, {3, 4, 5}, true));
        QCOMPARE(writer.After(), (QStringList{"member", "member", "member"}));
    }

    void editFormWritesTheChosenValue()
    {
        const QList<KtPortColumn> columns{column("IFTable", "1.3.6.1.2.1.2.2.1.7"), column("PortsInformation", Pvid)};
        TEditPortsForm form({8, 9}, QStringLiteral("127.0.0.1"), columns);
        QCOMPARE(form.windowTitle(), QStringLiteral("Edit Ports 8,9 : 127.0.0.1"));
        form.show();
        QCOMPARE(form.ValueChoice()->count(), 2);  // the column's option list: up, down
        form.ColumnChoice()->setCurrentIndex(1);
        QVERIFY(form.ValueEdit()->isVisible());
        QTest::mouseClick(form.SetButton(), Qt::LeftButton);
        QVERIFY(form.Memo()->toPlainText().contains(QStringLiteral("Enter a value first.")));
        QTest::keyClicks(form.ValueEdit(), QStringLiteral("40"));
        QSignalSpy written(&form, &TEditPortsForm::written);
        QTest::mouseClick(form.SetButton(), Qt::LeftButton);
        QVERIFY(written.wait(10000));
        QCOMPARE(agentValues(Pvid, KtType::Gauge, {8, 9}), (QStringList{"40", "40"}));
        QVERIFY(form.Memo()->toPlainText().contains(QStringLiteral("set on ports 8,9")));
    }
};

QTEST_MAIN(TestPortPanel)
#include "tst_portpanel.moc"
