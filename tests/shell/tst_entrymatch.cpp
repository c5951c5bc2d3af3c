// How typed words find menu paths: word starts, any case and order, an
// optional plural "s", the caption before the rest of the path.

#include "shell/catalogue/KtEntryMatch.h"

#include <QtTest>

using KtEntryMatch::Rank;

class TestEntryMatch : public QObject
{
    Q_OBJECT

private slots:
    void match_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("rank");
        const QString ip = QStringLiteral("MIB II > IP Counter");
        const QString stp = QStringLiteral("Bridge > Spanning Tree > STP Control");
        const QString pae = QStringLiteral("Security > 802.1X > PAE Port Table");
        QTest::newRow("plural s left out") << ip << "ip counters" << int(KtEntryMatch::CaptionMatch);
        QTest::newRow("word starts in the path") << stp << "span tree" << int(KtEntryMatch::PathMatch);
        QTest::newRow("any case, any order") << stp << "CONTROL stp" << int(KtEntryMatch::CaptionMatch);
        QTest::newRow("caption and path words") << stp << "bridge control" << int(KtEntryMatch::PathMatch);
        QTest::newRow("inside a word is no start") << stp << "panning" << int(KtEntryMatch::NoMatch);
        QTest::newRow("one word missing") << ip << "ip routing" << int(KtEntryMatch::NoMatch);
        QTest::newRow("after a dot") << pae << "1x pae" << int(KtEntryMatch::PathMatch);
        QTest::newRow("with its dot") << pae << "802.1x" << int(KtEntryMatch::PathMatch);
        QTest::newRow("after a slash and a bracket")
            << "Layer 3 > Time/Summer (RFC2096)" << "summer rfc" << int(KtEntryMatch::CaptionMatch);
        QTest::newRow("s of the path itself") << "RMON > Statistics" << "statistics" << int(KtEntryMatch::CaptionMatch);
        QTest::newRow("an s alone is a letter") << "RMON > Statistics" << "s" << int(KtEntryMatch::CaptionMatch);
        QTest::newRow("a plural that is not there") << ip << "counterss" << int(KtEntryMatch::NoMatch);
        QTest::newRow("nothing typed") << ip << "  " << int(KtEntryMatch::CaptionMatch);
    }
    void match()
    {
        QFETCH(QString, path);
        QFETCH(QString, typed);
        QFETCH(int, rank);
        QCOMPARE(int(KtEntryMatch::Match(path, typed)), rank);
    }
};

QTEST_APPLESS_MAIN(TestEntryMatch)
#include "tst_entrymatch.moc"
