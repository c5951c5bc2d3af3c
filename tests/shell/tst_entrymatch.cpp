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
        using M = KtEntryMatch::Rank;
        QTest::newRow("plural s left out") << ip << "ip counters" << int(M::WholeCaption);
        QTest::newRow("word starts in the path") << stp << "span tree" << int(M::PathMatch);
        QTest::newRow("any case, any order") << stp << "CONTROL stp" << int(M::WholeCaption);
        QTest::newRow("part of the caption") << stp << "contr" << int(M::CaptionMatch);
        QTest::newRow("caption and path words") << stp << "bridge control" << int(M::PathMatch);
        QTest::newRow("the whole path") << pae << "security 802 1x pae port table" << int(M::WholePath);
        QTest::newRow("inside a word is no start") << stp << "panning" << int(M::NoMatch);
        QTest::newRow("one word missing") << ip << "ip routing" << int(M::NoMatch);
        QTest::newRow("after a dot") << pae << "1x pae" << int(M::PathMatch);
        QTest::newRow("with its dot") << pae << "802.1x" << int(M::PathMatch);
        QTest::newRow("after a slash and a bracket") << "Layer 3 > Time/Summer (RFC2096)" << "summer rfc"
                                                     << int(M::CaptionMatch);
        QTest::newRow("s of the path itself") << "RMON > Statistics" << "statistics" << int(M::WholeCaption);
        QTest::newRow("one letter") << "RMON > Statistics" << "s" << int(M::WholeCaption);
        QTest::newRow("plural of another word") << "RADIUS > MAC State Table" << "stats" << int(M::NoMatch);
        QTest::newRow("a plural that is not there") << ip << "counterss" << int(M::NoMatch);
        QTest::newRow("nothing typed") << ip << "  " << int(M::WholeCaption);
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
