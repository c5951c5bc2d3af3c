// Editor panels against the simulated agent: which buttons a group gets,
// the check-box procedures, writing checked rows and the refusals before
// anything is sent, tailoring errors, glyphs, size limit and keyboard.
#include "GenericTestSupport.h"

#include "dialogs/generic/TConfigForm.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "dialogs/generic/TEditsPanel.h"
#include "dialogs/generic/TMsgPanel.h"
#include "dialogs/generic/TSNMPEditorPanel.h"
#include "errors/KtException.h"
#include "values/KtOptionList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

QString shownButtons(const TCtrlBtnPanel *buttons)
{
    QStringList shown;
    for (QWidget *w : buttons->ArrangeList)
        if (auto *b = qobject_cast<QPushButton *>(w); b && !b->isHidden())
            shown.append(TCtrlBtnPanel::Caption(b));
    return shown.join(QLatin1Char('|'));
}

int shownBoxes(const TEditsPanel *panel)
{
    int n = 0;
    for (const TEditsPanel::EditRow &row : panel->Rows)
        n += row.CheckBox->isHidden() ? 0 : 1;
    return n;
}

// A form opened as the menu opens it, shown and read once.
struct OpenForm
{
    explicit OpenForm(const char *table, quint8 kind = KtKind::SVT_SV, int indexCount = 0)
    {
        panel = form.SetEditorPanel(Generic::Binding(&form, table, kind, indexCount));
        binding = form.EditsList.front().get();
    }
    bool showAndRead()
    {
        form.show();
        return QTest::qWaitFor([this] { return binding->ResultCount > 0 && !binding->Busy; }, 15000);
    }
    QPlainTextEdit *memo() const { return panel->MsgPanel->Memo; }

    TConfigForm form;
    TSNMPEditorPanel *panel = nullptr;
    KtSNMPRequest2Edits *binding = nullptr;
};

std::unique_ptr<KtOptionList> options(const QList<QPair<int, const char *>> &entries)
{
    KtOptionTable table;
    for (const auto &[value, label] : entries)
        table.append(KtOptionEntry{value, QString(), QString::fromLatin1(label)});
    return std::make_unique<KtOptionList>(table);
}

} // namespace

class TestEditorPanel : public QObject
{
    Q_OBJECT

    AgentSession m_session;
    ScriptedMessages m_boxes{ScriptedMessages::RecordOnly{}};

private slots:
    void initTestCase() { QVERIFY(m_session.start()); }
    void cleanupTestCase() { m_session.stop(); }
    void init() { m_boxes.clear(); }

    void buttonsOfAGroup_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<bool>("setEnabled");
        QTest::newRow("read-only") << "BasicInformation" << "Refresh|Close" << 0 << false;
        QTest::newRow("one writable") << "Bridge8021dInformation" << "Refresh|Set|Close" << 0 << true;
        QTest::newRow("several writable") << "BasicConfiguration" << "Refresh|Set Checked|Check All|Clear Checks|Close"
                                          << 3 << false;
    }
    void buttonsOfAGroup()
    {
        QFETCH(QString, table);
        QFETCH(QString, buttons);
        OpenForm f(table.toLatin1().constData());
        QCOMPARE(shownButtons(f.panel->Buttons), buttons);
        QTEST(shownBoxes(f.panel->EditsPanel), "boxes");
        QTEST(f.panel->Buttons->SetCheckedButton->isEnabled(), "setEnabled");
        QVERIFY(f.panel->Buttons->CountText->isHidden());
    }

    void checkProcedures()
    {
        OpenForm f("BasicConfiguration");
        f.form.show();
        TEditsPanel *edits = f.panel->EditsPanel;
        QPushButton *set = f.panel->Buttons->SetCheckedButton;
        QTest::mouseClick(edits->Rows[1].CheckBox, Qt::LeftButton);
        QVERIFY(set->isEnabled());
        f.panel->Buttons->ClearChecksButton->click();
        QVERIFY(!set->isEnabled());
        QVERIFY(!edits->Rows[1].CheckBox->isChecked());
        f.panel->Buttons->CheckAllButton->click();
        QVERIFY(set->isEnabled());
        for (const TEditsPanel::EditRow &row : edits->Rows)
            QVERIFY(row.CheckBox->isChecked());
        for (const TEditsPanel::EditRow &row : edits->Rows)
            QTest::mouseClick(row.CheckBox, Qt::LeftButton);
        QVERIFY(!set->isEnabled());
    }

    // The single Set of a group with one writable variable; an empty entry is refused before sending.
    void setWritesOrRefuses_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("box");
        QTest::newRow("written") << "417" << QString();
        QTest::newRow("empty") << "" << "Some items are empty!";
    }
    void setWritesOrRefuses()
    {
        QFETCH(QString, typed);
        QFETCH(QString, box);
        const QString before = Generic::EngineScalar("Bridge8021dInformation", 2);
        OpenForm f("Bridge8021dInformation");
        QVERIFY(f.showAndRead());
        QCOMPARE(f.panel->EditsPanel->RowText(2), before);
        f.panel->EditsPanel->Rows[2].Edit()->setText(typed);
        f.panel->Buttons->SetCheckedButton->click();
        QCOMPARE(m_boxes.texts().value(0), box);
        QCOMPARE(Generic::EngineScalar("Bridge8021dInformation", 2), box.isEmpty() ? typed : before);
        if (box.isEmpty())
            QVERIFY(Generic::LastLine(f.memo()).startsWith("Set: Ok!"));
        else
            QCOMPARE(m_boxes.captions().value(0), QStringLiteral("Warning"));
    }

    void multicastRange_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("access");
        QTest::addColumn<bool>("state");
        QTest::addColumn<QString>("box");
        QTest::newRow("passes") << "224.1.1.1" << 1 << true << QString();
        QTest::newRow("not multicast") << "240.0.0.1" << 1 << true << "Bad value of FromIP field!";
        QTest::newRow("dot at the end") << "224.1.1.1." << 1 << true << "Bad value of FromIP field!";
        QTest::newRow("access none") << "224.1.1.1" << 0 << true << "Bad value of Access field!";
        QTest::newRow("state unchecked") << "224.1.1.1" << 1 << false << "Some fields need to be checked!";
    }
    void multicastRange()
    {
        QFETCH(QString, from);
        QFETCH(int, access);
        QFETCH(bool, state);
        QFETCH(QString, box);
        TConfigForm form;
        auto *b = new KtSNMPRequest2Edits(&form);
        const QString base = QStringLiteral("1.3.6.1.4.1.32473.99.7.");
        b->Request.Vars.AppendVar(base + "1", "Profile", KtType::Integer, KtAccess::ReadOnly);
        b->Request.Vars.AppendVar(base + "2", "From IP", KtType::IpAddress, KtAccess::ReadWrite);
        b->Request.Vars.AppendVar(base + "3", "To IP", KtType::IpAddress, KtAccess::ReadWrite);
        b->Request.Vars.AppendVar(base + "4", "Access", KtType::Integer, KtAccess::ReadWrite,
                                  options({{1, "none"}, {2, "permit"}}));
        b->Request.Vars.AppendVar(base + "5", "State", KtType::Integer, KtAccess::ReadWrite,
                                  options({{2, "disabled"}, {3, "enabled"}}));
        TSNMPEditorPanel *panel = form.SetEditorPanel(b);
        TEditsPanel *edits = panel->EditsPanel;
        edits->MulticastRangeCheck = true;
        form.show();
        edits->Rows[1].Edit()->setText(from);
        edits->Rows[2].Edit()->setText("239.255.255.255");
        edits->Rows[3].Combo()->setCurrentIndex(access);
        edits->Rows[4].Combo()->setCurrentIndex(1);
        // Ticking one address row ticks them all.
        QTest::mouseClick(edits->Rows[2].CheckBox, Qt::LeftButton);
        for (int i = 1; i <= 4; ++i)
            QVERIFY(edits->Rows[i].CheckBox->isChecked());
        if (!state)
            QTest::mouseClick(edits->Rows[4].CheckBox, Qt::LeftButton);
        panel->Buttons->SetCheckedButton->click();
        QCOMPARE(m_boxes.texts().value(0), box);
        if (box.isEmpty()) {
            QVERIFY(panel->MsgPanel->Memo->toPlainText().contains("Set: "));  // sent; the agent has no such group
        } else {
            QCOMPARE(m_boxes.captions().value(0), QStringLiteral("Error"));
            QVERIFY(!panel->MsgPanel->Memo->toPlainText().contains("Set: "));
            QCOMPARE(edits->Rows[1].Edit()->text(), from);
        }
        QCOMPARE(b->Request.Vars.Get(1).Access, quint32(KtAccess::ReadWrite));  // no exclusion mark left behind
    }

    void tailoringErrors_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("message");
        QTest::newRow("ports on a combo box") << 0 << "You can only assign Octet Item to a Edit!";
        QTest::newRow("format on a combo box") << 1 << "Can not set Var format to a ComboBox!";
        QTest::newRow("format on a read-only choice") << 2 << "Unknow UI Control type!";
        QTest::newRow("bad format") << 3 << "Bad format specifier of edit's constraint!";
        QTest::newRow("buttons without binding") << 4 << "TEditsPanel:ArrangeCtrlBtn - EditCtrl is NULL!";
    }
    void tailoringErrors()
    {
        QFETCH(int, step);
        QFETCH(QString, message);
        OpenForm choices("BasicConfiguration");
        OpenForm readOnly("BasicInformation");
        OpenForm edits("Bridge8021dInformation");
        TEditsPanel bare(nullptr, nullptr);
        QString raised;
        try {
            switch (step) {
            case 0: choices.panel->EditsPanel->SetPortListItem(0, 20, 28); break;
            case 1: choices.panel->SetVarFormat(0, "%i"); break;
            case 2: readOnly.panel->SetVarFormat(0, "%i"); break;
            case 3: edits.panel->SetVarFormat(2, "%i{q}"); break;
            case 4: bare.ArrangeCtrlBtn(edits.panel->Buttons); break;
            }
        } catch (const KtException &e) {
            raised = e.message();
        }
        QCOMPARE(raised, message);
        // A refused format leaves the row bound as it was.
        edits.binding->Request.Vars.Get(2).Value = QStringLiteral("77");
        edits.binding->ShowValues(2);
        QCOMPARE(edits.panel->EditsPanel->RowText(2), QStringLiteral("77"));
    }

    void closeWithoutForm()
    {
        KtSNMPRequest2Edits binding(nullptr);
        binding.Request.Vars = KtSNMPVarList(Generic::Table("BasicInformation"), KtKind::SVT_SV, 0);
        TSNMPEditorPanel panel(nullptr, &binding);
        panel.Buttons->CloseButton->click();
        QCOMPARE(m_boxes.texts(), QStringList{"Please initial close form"});
    }

    void glyphsReplaceCaptions()
    {
        QTemporaryDir dir;
        QImage glyph(16, 16, QImage::Format_RGB32);
        glyph.fill(Qt::darkGreen);
        QVERIFY(glyph.save(dir.filePath("Get.bmp"), "BMP"));
        QFile broken(dir.filePath("Set.bmp"));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("not a bitmap") > 0);
        broken.close();
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        TCtrlBtnPanel buttons(nullptr);
        QDir::setCurrent(previous);
        QVERIFY(buttons.RefreshButton->text().isEmpty());
        QVERIFY(!buttons.RefreshButton->icon().isNull());
        QCOMPARE(buttons.RefreshButton->toolTip(), QStringLiteral("Refresh"));
        QCOMPARE(TCtrlBtnPanel::Caption(buttons.EditButton), QStringLiteral("Edit"));
        QVERIFY(buttons.EditButton->icon().isNull());
    }

    void formSizeLimitAndWidth()
    {
        OpenForm tall("AggregationPortTable", KtKind::SVT_SV, 0);
        QVERIFY(tall.panel->sizeHint().height() > TSNMPPanel::MaxFormHeight);
        QCOMPARE(tall.form.height(), TSNMPPanel::MaxFormHeight);
        QVERIFY(tall.form.width() <= TSNMPPanel::MaxFormWidth);
        OpenForm small("Bridge8021dInformation");
        const int width = small.form.width();
        small.panel->SetEditWidth(180);
        QCOMPARE(small.panel->EditsPanel->Rows[2].Control->width(), 180);
        QVERIFY2(small.form.width() >= width + 180 - 121 - 5, qPrintable(QString::number(small.form.width())));
    }

    void keyboard()
    {
        OpenForm f("BasicConfiguration");
        QVERIFY(f.showAndRead());
        f.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.form));
        QWidget *first = f.panel->EditsPanel->Rows[0].Control;
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.panel->EditsPanel->Rows[1].Control);
        const int lines = f.memo()->blockCount();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
        QVERIFY(Generic::WaitIdle(f.binding));
        QTRY_COMPARE_WITH_TIMEOUT(f.memo()->blockCount(), lines + 1, 20000);  // the refresh may start after WaitIdle looked
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!f.form.isVisible());
        QVERIFY(f.form.EditsList.empty());
    }
};

QTEST_MAIN(TestEditorPanel)
#include "tst_editorpanel.moc"
