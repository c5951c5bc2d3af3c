#include "values/KtOptionList.h"
#include "values/widgets/KtOptionListWidgets.h"
#include "values/widgets/KtRadioGroup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

QList<int> checkedButtons(const KtRadioGroup &group)
{
    QList<int> checked;
    for (int i = 0; i < group.count(); ++i)
        if (group.button(i)->isChecked())
            checked.append(i);
    return checked;
}

QList<int> spied(const QSignalSpy &spy)
{
    QList<int> values;
    for (const QList<QVariant> &call : spy)
        values.append(call.at(0).toInt());
    return values;
}

} // namespace

class TestOptionListWidgets : public QObject
{
    Q_OBJECT

private slots:
    void fill();
    void select_data();
    void select();
    void noneReallyUnchecks();
    void indexSignals();
    void refillDropsSelection();
    void refillFromOwnSignals();
    void columns();
};

void TestOptionListWidgets::fill()
{
    QComboBox combo;
    KtRadioGroup group("Mode");
    combo.addItems({"stale", "items", "here"});
    group.setItems({"stale"});
    FillComboBox(KtOptionLists::RowStatusShort(), &combo);
    FillRadioGroup(KtOptionLists::RowStatusShort(), &group);
    const QStringList expected{"active", "createAndGo", "destroy"};
    QCOMPARE(group.items(), expected);
    QCOMPARE(combo.count(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(combo.itemText(i), expected[i]);
        QCOMPARE(group.button(i)->text(), expected[i]);
    }
    QCOMPARE(group.findChildren<QRadioButton *>().size(), 3);
    QVERIFY(checkedButtons(group).isEmpty());

    FillComboBox(KtOptionList(), &combo);
    FillRadioGroup(KtOptionList(), &group);
    QCOMPARE(combo.count(), 0);
    QCOMPARE(group.count(), 0);
    QVERIFY(group.findChildren<QRadioButton *>().isEmpty());
    FillComboBox(KtOptionList(), nullptr);
    SelectInRadioGroup(KtOptionLists::DisabledEnabled(), nullptr, "3");
}

void TestOptionListWidgets::select_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("value") << "3" << 1;
    QTest::newRow("label") << "enabled" << 1;
    QTest::newRow("label other case") << "DISABLED" << 0;
    QTest::newRow("first value") << "2" << 0;
    QTest::newRow("absent") << "(NULL)" << -1;
    QTest::newRow("non-numeric") << "abc" << -1;
    QTest::newRow("out of list") << "7" << -1;
}

void TestOptionListWidgets::select()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    const KtOptionList &list = KtOptionLists::DisabledEnabled();
    QComboBox combo;
    KtRadioGroup group;
    FillComboBox(list, &combo);
    FillRadioGroup(list, &group);
    // Start from the other selection so that doing nothing cannot pass.
    combo.setCurrentIndex(expected == 0 ? 1 : 0);
    group.setItemIndex(expected == 0 ? 1 : 0);
    SelectInComboBox(list, &combo, text);
    SelectInRadioGroup(list, &group, text);
    QCOMPARE(combo.currentIndex(), expected);
    QCOMPARE(group.itemIndex(), expected);
    QCOMPARE(checkedButtons(group), expected < 0 ? QList<int>{} : QList<int>{expected});
}

void TestOptionListWidgets::noneReallyUnchecks()
{
    KtRadioGroup group;
    group.setItems({"a", "b", "c"});
    group.setItemIndex(2);
    QCOMPARE(checkedButtons(group), QList<int>{2});
    group.setItemIndex(-1);
    QCOMPARE(group.itemIndex(), -1);
    QVERIFY(checkedButtons(group).isEmpty());
    group.setItemIndex(0);
    group.setItemIndex(3);  // out of range means none
    QVERIFY(checkedButtons(group).isEmpty());
    // Exclusive again afterwards.
    group.setItemIndex(0);
    group.button(1)->click();
    QCOMPARE(checkedButtons(group), QList<int>{1});
    QCOMPARE(group.itemIndex(), 1);
}

void TestOptionListWidgets::indexSignals()
{
    KtRadioGroup group;
    group.setItems({"a", "b", "c"});
    QSignalSpy changed(&group, &KtRadioGroup::itemIndexChanged);
    QSignalSpy clicked(&group, &KtRadioGroup::itemClicked);
    group.setItemIndex(1);
    group.setItemIndex(1);
    group.button(0)->click();
    group.button(0)->click();  // a checked radio button stays checked
    group.button(2)->click();
    group.setItemIndex(-1);
    group.setItemIndex(-1);
    // One report per change and never an intermediate -1 on a switch.
    QCOMPARE(spied(changed), (QList<int>{1, 0, 2, -1}));
    QCOMPARE(spied(clicked), (QList<int>{0, 0, 2}));
}

void TestOptionListWidgets::refillDropsSelection()
{
    KtRadioGroup group;
    group.setItems({"a", "b", "c"});
    group.setItemIndex(2);
    QSignalSpy changed(&group, &KtRadioGroup::itemIndexChanged);
    group.setItems({"x"});
    QCOMPARE(group.itemIndex(), -1);
    QCOMPARE(spied(changed), QList<int>{-1});
    QCOMPARE(group.findChildren<QRadioButton *>().size(), 1);
    group.clear();
    group.setItemIndex(0);
    QCOMPARE(group.itemIndex(), -1);
    QCOMPARE(spied(changed), QList<int>{-1});
}

void TestOptionListWidgets::refillFromOwnSignals()
{
    // Listeners may rebuild the group while one of its buttons is still
    // inside the toggle or click that reported the change.
    KtRadioGroup group;
    group.setItems({"a", "b", "c"});
    group.show();
    QList<int> seen;
    connect(&group, &KtRadioGroup::itemIndexChanged, &group, [&](int index) {
        seen.append(index);
        if (index == 1)
            FillRadioGroup(KtOptionLists::RowStatusShort(), &group);
    });
    group.setItemIndex(1);
    QCOMPARE(group.items(), (QStringList{"active", "createAndGo", "destroy"}));
    QCOMPARE(group.itemIndex(), -1);
    QVERIFY(checkedButtons(group).isEmpty());

    group.setItems({"x", "y"});
    QCoreApplication::processEvents();  // new buttons of a shown group show from the event loop
    QTest::mouseClick(group.button(1), Qt::LeftButton);
    QCOMPARE(group.items(), (QStringList{"active", "createAndGo", "destroy"}));
    QCOMPARE(seen, (QList<int>{1, -1, 1, -1}));

    connect(&group, &KtRadioGroup::itemClicked, &group, [&](int) { group.clear(); });
    QCoreApplication::processEvents();
    QTest::mouseClick(group.button(2), Qt::LeftButton);
    QCOMPARE(group.count(), 0);
    QCOMPARE(group.itemIndex(), -1);

    // Buttons that had to outlive the change are gone once events run.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(group.findChildren<QRadioButton *>().isEmpty());
}

void TestOptionListWidgets::columns()
{
    KtRadioGroup group;
    group.setItems({"a", "b", "c", "d", "e"});
    group.setColumns(2);
    auto *grid = qobject_cast<QGridLayout *>(group.layout());
    QVERIFY(grid);
    auto at = [&](int i) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(group.button(i)), &row, &column, &rowSpan, &columnSpan);
        return QPoint(column, row);
    };
    // Column-major over three rows.
    QCOMPARE(at(2), QPoint(0, 2));
    QCOMPARE(at(3), QPoint(1, 0));
    group.setColumns(0);
    QCOMPARE(group.columns(), 1);
    QCOMPARE(at(4), QPoint(0, 4));
}

QTEST_MAIN(TestOptionListWidgets)
#include "tst_optionlistwidgets.moc"
