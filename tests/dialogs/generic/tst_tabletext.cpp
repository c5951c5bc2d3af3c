// Text rules of the generic dialogs: natural column order, table texts, row hint, multicast ranges.
#include "dialogs/generic/KtMulticastRange.h"
#include "dialogs/generic/KtTableText.h"

#include <QtTest>

using KtTableText::Order;

class TestTableText : public QObject
{
    Q_OBJECT

private slots:
    void columnOrderAndSort_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("ascending");
        QTest::newRow("numbers by value") << QStringList{"10", "9", "-3", "100", "2.5", "-20"} << int(Order::Number)
                                          << QStringList{"-20", "-3", "2.5", "9", "10", "100"};
        QTest::newRow("beyond 64 bits") << QStringList{"18446744073709551616", "18446744073709551615", "7"}
                                        << int(Order::Number)
                                        << QStringList{"7", "18446744073709551615", "18446744073709551616"};
        QTest::newRow("placeholders first") << QStringList{"5", "(NULL)", "", "1"} << int(Order::Number)
                                            << QStringList{"", "(NULL)", "1", "5"};
        QTest::newRow("addresses by octet") << QStringList{"10.90.90.10", "10.90.90.2", "9.255.0.1", "10.90.90.1"}
                                            << int(Order::Natural)
                                            << QStringList{"9.255.0.1", "10.90.90.1", "10.90.90.2", "10.90.90.10"};
        QTest::newRow("oids by arc") << QStringList{"1.3.6.1.10", "1.3.6.1.2.1", "1.3.6.1.2"} << int(Order::Natural)
                                     << QStringList{"1.3.6.1.2", "1.3.6.1.2.1", "1.3.6.1.10"};
        QTest::newRow("hex of one length") << QStringList{"0A0000", "090000", "FF0000", "100000"} << int(Order::Hex)
                                           << QStringList{"090000", "0A0000", "100000", "FF0000"};
        QTest::newRow("text with numbers, case apart")
            << QStringList{"port10", "Port2", "port1", "alpha"} << int(Order::Natural)
            << QStringList{"alpha", "port1", "Port2", "port10"};
        QTest::newRow("equal values keep their order") << QStringList{"1", "01", "1"} << int(Order::Number)
                                                        << QStringList{"01", "1", "1"};
    }
    void columnOrderAndSort()
    {
        QFETCH(QStringList, texts);
        QFETCH(int, order);
        QFETCH(QStringList, ascending);
        QCOMPARE(int(KtTableText::ColumnOrder(texts)), order);
        QStringList up, down;
        for (int p : KtTableText::SortedPositions(texts, false))
            up.append(texts.at(p));
        for (int p : KtTableText::SortedPositions(texts, true))
            down.prepend(texts.at(p));
        QCOMPARE(up, ascending);
        QCOMPARE(down, ascending);
    }

    void tableTexts()
    {
        const QList<QStringList> rows{{"Name", "Value"}, {"a,b", "say \"hi\""}, {"two\nlines", "\tplain"}};
        QCOMPARE(KtTableText::CsvText(rows), QStringLiteral("Name,Value\r\n\"a,b\",\"say \"\"hi\"\"\"\r\n"
                                                            "\"two\nlines\",\tplain\r\n"));
        QCOMPARE(KtTableText::TabText(rows), QStringLiteral("Name\tValue\na,b\tsay \"hi\"\ntwo lines\t plain"));
        QCOMPARE(KtTableText::CsvField(QStringLiteral("Grüße")), QStringLiteral("Grüße"));
    }

    void rowHint()
    {
        QCOMPARE(KtTableText::RowHint({"Index", "Port"}, {"3", "A0"}), QStringLiteral("Index  3\nPort\t  A0\n"));
        QCOMPARE(KtTableText::RowHint({"A", "Longer"}, {"x"}), QStringLiteral("A\t\t\t\t\t  x\nLonger  \n"));
    }

    void multicastAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("multicast");
        for (const char *ok : {"224.1.1.1", "239.255.255.255", "224.1..1.1", "230.0.0.x"})
            QTest::newRow(ok) << QString::fromLatin1(ok) << true;
        for (const char *bad : {"240.0.0.1", "223.255.255.255", "224.1.1", ".224.1.1.1", "224.1.1.1.", "224.1.1.256",
                                "224.1.1.1.1", "", "224.000000000000000000001.1.1"})
            QTest::newRow(bad) << QString::fromLatin1(bad) << false;
    }
    void multicastAddress()
    {
        QFETCH(QString, text);
        QFETCH(bool, multicast);
        QCOMPARE(KtMulticastRange::IsMulticastAddress(text), multicast);
    }
};

QTEST_GUILESS_MAIN(TestTableText)
#include "tst_tabletext.moc"
