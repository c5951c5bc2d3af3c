#include "shell/catalogue/KtMenuCatalogue.h"
#include "shell/catalogue/KtMenuLoader.h"

#include "errors/KtException.h"
#include "mib/KtMibData.h"
#include "values/KtConstraintFormat.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QRegularExpression>
#include <QSet>
#include <functional>
#include <QTemporaryDir>
#include <QtTest>

// Loader behaviour on small texts, then the compiled-in catalogue itself.
class TestMenuCatalogue : public QObject
{
    Q_OBJECT

private slots:
    // Loader
    void parsesTreeAndAttributes();
    void quotedTextsAndLineEndings();
    void rejectsMalformedLines_data();
    void rejectsMalformedLines();
    void unreadableFileIsReported();

    // Compiled-in catalogue, structure
    void loadsCompiledInCatalogue();
    void countsMatchTheMenuTree();
    void tailoringCountsMatchTheMenuTree();
    void givenComponentNames_data();
    void givenComponentNames();
    void componentNamesAreStable();
    void siblingLaunches_data();
    void siblingLaunches();
    void captionStyles_data();
    void captionStyles();
    void hooksSitOnTheirPanels();
    void mainWindowActionsAndDedicatedDialogs();
    void hiddenEntries();
    void fourEntriesInFull();

    // Compiled-in catalogue against the descriptor tables
    void everyPanelResolvesToItsTables();
    void everyTableIsUsed();
    void variableCountsMatchTables();
    void tailoringIndicesLieInsideTables();
    void rowStatusValuesAreOptionLabels();
    void formatsParseAsEditConstraints();
    void tailoredVariablesSuitTheirItems();
    void fourEntriesRecordByRecord_data();
    void fourEntriesRecordByRecord();
};

static KtMenuCatalogue parse(const QString &text)
{
    return KtMenuCatalogue::FromText(text, QStringLiteral("test.txt"));
}

void TestMenuCatalogue::parsesTreeAndAttributes()
{
    const KtMenuCatalogue c = parse(QStringLiteral(
        "# comment\n"
        "menu \"Top\" Top1\n"
        "  menu \"Sub\" Sub1\n"
        "\n"
        "    generic \"Paged\" Paged1 name \"Paged Dialog\" sep \" : \" pages widen 50 height 450 close R\n"
        "      panel E 0/0 vars 2 page \"First\" table TabA root 1.3.6.1.4.1.1 root 1.3.6.1.2.1.1\n"
        "      panel T 3/2 vars 5 page \"Second\" table TabB root 1.3.6.1.4.1.2.1 rows 4 \"createAndGo\" \"destroy\" ports 2 fmt 1 \"%i{n1x4094}\" noedit width 150 always 0 hook C\n"
        "  launch \"Sibling\" Sibling1 hidden arg \"/TRmon_History\"\n"
        "menu \"Other\" Other1   \n"
        "  dedicated \"Ded\" Ded1 class TSomeForm prefix \"Ded Caption: \"\n"
        "  action \"Help\" H1 do Help\n"
        "  none \"Exit\" Exit1 hidden\n"));

    QCOMPARE(c.count(), 8);
    QCOMPARE(c.topLevel().size(), 2);
    QStringList flat;
    for (int i = 0; i < c.count(); ++i)
        flat << c.at(i).name();
    QCOMPARE(flat, QStringList({"Top1", "Sub1", "Paged1", "Sibling1", "Other1", "Ded1", "H1", "Exit1"}));

    const KtMenuEntry *paged = c.Find(QStringLiteral("Paged1"));
    QVERIFY(paged);
    QCOMPARE(paged->line(), 5);
    QCOMPARE(paged->depth(), 2);
    QCOMPARE(paged->parent(), c.Find(QStringLiteral("Sub1")));
    QCOMPARE(paged->path(), QStringLiteral("Top > Sub > Paged"));
    QCOMPARE(c.FindPath(QStringLiteral("Top > Sub > Paged")), paged);
    QCOMPARE(c.FindPath(QStringLiteral("Top > Paged")), nullptr);
    QCOMPARE(paged->clickHandler(), QStringLiteral("Paged1Click"));
    QCOMPARE(paged->action(), KtMenuEntry::Generic);
    QCOMPARE(paged->layout(), KtMenuEntry::PagedLayout);
    QVERIFY(paged->captionNamed());
    QCOMPARE(paged->dialogName(), QStringLiteral("Paged Dialog"));
    QCOMPARE(paged->dialogCaption(QStringLiteral("10.1.1.1")), QStringLiteral("Paged Dialog : 10.1.1.1"));
    QCOMPARE(paged->widthGrowth(), 50);
    QCOMPARE(paged->dialogHeight(), 450);
    QVERIFY(paged->rmonCheckOnClose());
    QVERIFY(!paged->hidden());

    QCOMPARE(paged->panels().size(), 2);
    const KtMenuPanel &first = paged->panels().at(0);
    QCOMPARE(first.layout, KtMenuPanel::Editor);
    QCOMPARE(first.pageCaption, QStringLiteral("First"));
    QCOMPARE(first.roots, QStringList({"1.3.6.1.4.1.1", "1.3.6.1.2.1.1"}));
    QCOMPARE(first.tables, QStringList({"TabA"}));
    QVERIFY(!first.hasRowStatus());
    QVERIFY(first.tailoring.isEmpty());
    QCOMPARE(first.line, 6);

    const KtMenuPanel &second = paged->panels().at(1);
    QCOMPARE(second.layout, KtMenuPanel::Table);
    QCOMPARE(int(second.listKind), int(KtKind::MVT_UMV));
    QCOMPARE(second.indexCount, 2);
    QCOMPARE(second.varCount, 5);
    QCOMPARE(second.rowStatusColumn, 4);
    QCOMPARE(second.addValue, QStringLiteral("createAndGo"));
    QCOMPARE(second.deleteValue, QStringLiteral("destroy"));
    QCOMPARE(second.addHook, QChar('C'));
    QVERIFY(second.editHidden());
    // Tailoring keeps the order of the line.
    const QList<KtMenuTailoring> expected = {
        {KtMenuTailoring::Ports, 2, {}},
        {KtMenuTailoring::Format, 1, QStringLiteral("%i{n1x4094}")},
        {KtMenuTailoring::NoEdit, -1, {}},
        {KtMenuTailoring::Width, 150, {}},
        {KtMenuTailoring::Always, 0, {}},
    };
    QCOMPARE(second.tailoring, expected);
    QCOMPARE(second.positions(KtMenuTailoring::Ports), QList<int>({2}));

    const KtMenuEntry *sibling = c.Find(QStringLiteral("Sibling1"));
    QVERIFY(sibling->hidden());
    QCOMPARE(sibling->action(), KtMenuEntry::Sibling);
    QCOMPARE(sibling->siblingModule(), QStringLiteral("Rmon"));

    const KtMenuEntry *ded = c.Find(QStringLiteral("Ded1"));
    QCOMPARE(ded->formClass(), QStringLiteral("TSomeForm"));
    QVERIFY(!ded->captionNamed());
    QCOMPARE(ded->dialogCaption(QStringLiteral("h")), QStringLiteral("Ded Caption: h"));
    QCOMPARE(c.Find(QStringLiteral("H1"))->mainAction(), KtMenuEntry::Help);
    QCOMPARE(c.Find(QStringLiteral("Exit1"))->action(), KtMenuEntry::NoAction);
    QCOMPARE(c.Find(QStringLiteral("Other1"))->children().size(), 3);
    QCOMPARE(c.Find(QStringLiteral("Nope")), nullptr);
}

void TestMenuCatalogue::quotedTextsAndLineEndings()
{
    // Escapes, blanks kept inside quotes, CRLF line ends.
    const KtMenuCatalogue c = parse(QStringLiteral(
        "menu \"Say \\\"hi\\\" \\\\ \" A1\r\n"
        "  generic \"STP Control \" B1 prefix \"MSTP Port State Information\" T\r\n"
        "    panel T 2/1 vars 2 table T root 1.2.3 fmt 0 \"%s{l32}\"\r\n"));
    QCOMPARE(c.count(), 2);
    QCOMPARE(c.at(0).caption(), QStringLiteral("Say \"hi\" \\ "));
    QCOMPARE(c.at(1).caption(), QStringLiteral("STP Control "));
    QCOMPARE(c.at(1).dialogCaption(QStringLiteral("host")), QStringLiteral("MSTP Port State Informationhost"));
    QCOMPARE(c.at(1).panels().at(0).tailoring.at(0).format, QStringLiteral("%s{l32}"));
}

void TestMenuCatalogue::rejectsMalformedLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");

    const QString top = QStringLiteral("menu \"A\" A1\n");
    const QString gen = QStringLiteral("  generic \"G\" G1 prefix \"G : \" T\n");

    QTest::newRow("empty file") << QString("# only a comment\n\n") << 3 << "no menu items";
    QTest::newRow("unknown item kind") << top + "  widget \"B\" B1\n" << 2 << "unknown item kind";
    QTest::newRow("caption not quoted") << QString("menu A A1\n") << 1 << "caption missing";
    QTest::newRow("blank caption") << QString("menu \"  \" A1\n") << 1 << "caption missing";
    QTest::newRow("bad component name") << QString("menu \"A\" 1A\n") << 1 << "not an identifier";
    QTest::newRow("component name missing") << QString("menu \"A\"\n") << 1 << "not an identifier";
    QTest::newRow("duplicate name") << top + "  action \"B\" B1 do Help\n  action \"C\" B1 do About\n" << 3
                                    << "already used at line 2";
    QTest::newRow("odd indentation") << top + "   action \"B\" B1 do Help\n" << 2 << "multiple of two";
    QTest::newRow("tab") << top + "\taction \"B\" B1 do Help\n" << 2 << "tab";
    QTest::newRow("two levels deeper") << top + "    action \"B\" B1 do Help\n" << 2 << "more than one level";
    QTest::newRow("below a non-menu") << top + "  action \"B\" B1 do Help\n    action \"C\" C1 do About\n" << 3
                                      << "not a menu";
    QTest::newRow("unknown keyword") << top + "  action \"B\" B1 do Help colour red\n" << 2 << "unknown keyword";
    QTest::newRow("keyword of another kind") << top + "  launch \"B\" B1 arg \"/TRmon_History\" class TForm\n" << 2
                                             << "does not belong";
    QTest::newRow("hidden twice") << top + "  action \"B\" B1 hidden do Help hidden\n" << 2 << "twice";
    QTest::newRow("two caption styles") << top + "  dedicated \"B\" B1 class TF prefix \"x\" name \"y\" sep \":\"\n" << 2
                                        << "twice";
    QTest::newRow("name without sep") << top + "  dedicated \"B\" B1 class TF name \"y\"\n" << 2 << "sep";
    QTest::newRow("sep not quoted") << top + "  dedicated \"B\" B1 class TF name \"y\" sep :\n" << 2 << "quoted";
    QTest::newRow("generic without layout") << top + "  generic \"B\" B1 prefix \"B : \"\n    panel T 2/1 vars 1 table T root 1.2\n"
                                            << 2 << "without a layout";
    QTest::newRow("generic without prefix") << top + "  generic \"B\" B1 T\n    panel T 2/1 vars 1 table T root 1.2\n" << 2
                                            << "without a caption prefix";
    QTest::newRow("generic without panel") << top + gen + "  action \"C\" C1 do Help\n" << 2 << "without a panel";
    QTest::newRow("generic without panel at end") << top + gen << 2 << "without a panel";
    QTest::newRow("dedicated without class") << top + "  dedicated \"B\" B1\n" << 2 << "without a class";
    QTest::newRow("launch without arg") << top + "  launch \"B\" B1\n" << 2 << "without an arg";
    QTest::newRow("action without do") << top + "  action \"B\" B1\n" << 2 << "without do";
    QTest::newRow("unknown action") << top + "  action \"B\" B1 do Format\n" << 2 << "unknown main-window action";
    QTest::newRow("bad sibling argument") << top + "  launch \"B\" B1 arg \"/Rmon_History\"\n" << 2 << "/T<module>";
    QTest::newRow("sibling without table") << top + "  launch \"B\" B1 arg \"/TRmon\"\n" << 2 << "/T<module>";
    QTest::newRow("close hook other than R") << top + "  generic \"B\" B1 prefix \"B\" E close Q\n" << 2 << "close hook";
    QTest::newRow("height zero") << top + "  generic \"B\" B1 prefix \"B\" E height 0\n" << 2 << "number from 1";
    QTest::newRow("height not a number") << top + "  generic \"B\" B1 prefix \"B\" E height 4x0\n" << 2 << "number";
    QTest::newRow("menu without items") << top + "  menu \"Empty\" E1\n  action \"B\" B1 do Help\n" << 2
                                        << "without items";
    QTest::newRow("unclosed quote") << top + "  action \"B B1 do Help\n" << 2 << "not closed";
    QTest::newRow("quote glued to a word") << top + "  action \"B\"B1 do Help\n" << 2 << "followed by a blank";
    QTest::newRow("quote inside a word") << top + "  action \"B\" B\"1 do Help\n" << 2 << "quote inside a word";
    QTest::newRow("bad escape") << top + "  action \"B\\n\" B1 do Help\n" << 2 << "backslash";

    QTest::newRow("panel first") << QString("  panel T 2/1 vars 1 table T root 1.2\nmenu \"A\" A1\n") << 1
                                 << "without a generic dialog item";
    QTest::newRow("panel below a launch") << top + "  launch \"B\" B1 arg \"/TRmon_History\"\n    panel T 2/1 vars 1 table T root 1.2\n"
                                          << 3 << "without a generic dialog item";
    QTest::newRow("panel indented too far") << top + gen + "      panel T 2/1 vars 1 table T root 1.2\n" << 3 << "one level below";
    QTest::newRow("panel not indented") << top + gen + "  panel T 2/1 vars 1 table T root 1.2\n" << 3 << "one level below";
    QTest::newRow("panel layout") << top + gen + "    panel X 2/1 vars 1 table T root 1.2\n" << 3 << "E or T";
    QTest::newRow("panel kind out of range") << top + gen + "    panel T 4/1 vars 1 table T root 1.2\n" << 3 << "list kind 4";
    QTest::newRow("panel kind malformed") << top + gen + "    panel T 2-1 vars 1 table T root 1.2\n" << 3 << "kind/index";
    QTest::newRow("panel without vars") << top + gen + "    panel T 2/1 table T root 1.2\n" << 3 << "without vars";
    QTest::newRow("panel negative vars") << top + gen + "    panel T 2/0 vars -3 table T root 1.2\n" << 3 << "number from 1";
    QTest::newRow("panel without table") << top + gen + "    panel T 2/1 vars 1 root 1.2\n" << 3 << "without a table";
    QTest::newRow("panel without root") << top + gen + "    panel T 2/1 vars 1 table T\n" << 3 << "without a root";
    QTest::newRow("panel bad root") << top + gen + "    panel T 2/1 vars 1 table T root 1.3..6\n" << 3 << "dotted OID";
    QTest::newRow("panel bad table name") << top + gen + "    panel T 2/1 vars 1 table a-b root 1.2\n" << 3
                                          << "not an identifier";
    QTest::newRow("index count over vars") << top + gen + "    panel T 2/3 vars 2 table T root 1.2\n" << 3 << "exceeds";
    QTest::newRow("fmt outside") << top + gen + "    panel T 2/1 vars 4 table T root 1.2 fmt 4 \"%s\"\n" << 3
                                 << "fmt 4 lies outside the 4 variables";
    QTest::newRow("ports outside") << top + gen + "    panel T 2/1 vars 4 table T root 1.2 ports 9\n" << 3 << "ports 9 lies outside";
    QTest::newRow("always outside") << top + gen + "    panel T 2/1 vars 1 table T root 1.2 always 1\n" << 3 << "always 1";
    QTest::newRow("rows outside") << top + gen + "    panel T 3/1 vars 4 table T root 1.2 rows 4 \"a\" \"d\"\n" << 3 << "rows 4";
    QTest::newRow("rows one value") << top + gen + "    panel T 3/1 vars 4 table T root 1.2 rows 3 \"a\"\n" << 3 << "quoted";
    QTest::newRow("rows twice") << top + gen + "    panel T 3/1 vars 4 table T root 1.2 rows 3 \"a\" \"d\" rows 2 \"a\" \"d\"\n" << 3
                                << "twice";
    QTest::newRow("empty format") << top + gen + "    panel T 2/1 vars 4 table T root 1.2 fmt 1 \"\"\n" << 3 << "empty format";
    QTest::newRow("unknown panel keyword") << top + gen + "    panel T 2/1 vars 4 table T root 1.2 colour 3\n" << 3
                                           << "unknown panel keyword";
    QTest::newRow("hook D") << top + gen + "    panel T 2/1 vars 4 table T root 1.2 hook D\n" << 3 << "A, B or C";
    QTest::newRow("rows on an editor") << top + "  generic \"G\" G1 prefix \"G\" E\n    panel E 0/0 vars 2 table T root 1.2 rows 1 \"a\" \"d\"\n"
                                       << 3 << "table panels only";
    QTest::newRow("layout mismatch") << top + "  generic \"G\" G1 prefix \"G\" E\n    panel T 2/1 vars 2 table T root 1.2\n" << 3
                                     << "differs";
    QTest::newRow("second panel without pages") << top + gen + "    panel T 2/1 vars 1 table T root 1.2\n    panel T 2/1 vars 1 table T root 1.3\n"
                                                << 4 << "second panel";
    QTest::newRow("page caption without pages") << top + gen + "    panel T 2/1 vars 1 page \"P\" table T root 1.2\n" << 3
                                                << "without pages";
    QTest::newRow("page without caption") << top + "  generic \"G\" G1 prefix \"G\" pages\n    panel T 2/1 vars 1 table T root 1.2\n" << 3
                                          << "without a page caption";
    // The fault is found on its own line even with valid lines after it.
    QTest::newRow("fault in the middle") << top + gen + "    panel T 2/1 vars 1 table T root 1.2\n  action \"X\" X1 do Nothing\n"
                                                + "  action \"Y\" Y1 do Help\n" << 4 << "unknown main-window action";
}

void TestMenuCatalogue::rejectsMalformedLines()
{
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(QString, reason);
    try {
        parse(text);
        QFAIL("malformed text was accepted");
    } catch (const KtException &e) {
        QCOMPARE(e.code(), -502);
        QVERIFY2(e.message().contains(QStringLiteral("line(%1)").arg(line)), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QStringLiteral("file(test.txt)")), qPrintable(e.message()));
        QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
    }
}

void TestMenuCatalogue::unreadableFileIsReported()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("absent.txt"));
    try {
        KtMenuCatalogue::FromFile(missing);
        QFAIL("a missing file was accepted");
    } catch (const KtException &e) {
        QCOMPARE(e.code(), -501);
        QVERIFY(e.message().contains(missing));
    }

    // A file on disk goes through the same checks, with its name in the text.
    const QString bad = dir.filePath(QStringLiteral("bad.txt"));
    QFile f(bad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("menu \"A\" A1\n  action \"B\" B1 do Help\n  action \"C\" C1\n");
    f.close();
    try {
        KtMenuCatalogue::FromFile(bad);
        QFAIL("a malformed file was accepted");
    } catch (const KtException &e) {
        QCOMPARE(e.code(), -502);
        QVERIFY(e.message().contains(QStringLiteral("line(3)")));
        QVERIFY(e.message().contains(bad));
    }

    // Bytes that are not UTF-8 are a format fault of their line.
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("menu \"A\" A1\n  action \"B\" B1 do Help\n  action \"C\xff\" C1 do About\n");
    f.close();
    try {
        KtMenuCatalogue::FromFile(bad);
        QFAIL("a file with bad UTF-8 was accepted");
    } catch (const KtException &e) {
        QCOMPARE(e.code(), -502);
        QVERIFY(e.message().contains(QStringLiteral("line(3)")));
        QVERIFY(e.message().contains(QStringLiteral("UTF-8")));
    }
}

// ---------------------------------------------------------------------------
// The compiled-in catalogue

static const KtMenuCatalogue &menu()
{
    return KtMenuCatalogue::Instance();
}

static int countIf(const std::function<bool(const KtMenuEntry &)> &pred)
{
    int n = 0;
    for (int i = 0; i < menu().count(); ++i)
        n += pred(menu().at(i)) ? 1 : 0;
    return n;
}

void TestMenuCatalogue::loadsCompiledInCatalogue()
{
    QCOMPARE(&KtMenuCatalogue::Instance(), &menu());
    QStringList top;
    for (const KtMenuEntry *e : menu().topLevel())
        top << e->caption();
    QCOMPARE(top, QStringList({"Basic Configuration", "Single IP Configuration", "Bridge", "VLAN", "RMON",
                               "SNMP V3", "Security", "Layer2 Management", "Layer 3 Management", "Help"}));
    // Flat order is depth first: every entry comes after its parent and
    // directly after its previous sibling's subtree.
    QHash<const KtMenuEntry *, int> pos;
    for (int i = 0; i < menu().count(); ++i)
        pos.insert(&menu().at(i), i);
    for (int i = 0; i < menu().count(); ++i) {
        const KtMenuEntry &e = menu().at(i);
        if (e.parent())
            QVERIFY(pos.value(e.parent()) < i);
        QVERIFY(e.parent() ? e.parent()->children().contains(&e) : menu().topLevel().contains(&e));
    }
}

void TestMenuCatalogue::countsMatchTheMenuTree()
{
    // Counted in the written menu tree (the bullet lines from "- Basic
    // Configuration" down to "About") with grep:
    //   grep -c '^ *- '          322 items, plus "Refresh Panel" and "Exit",
    //                            which the text names outside the list
    //   grep -c '(hidden)'       6, plus those two
    //   grep -vc ': '            63 submenus
    //   grep -c ': launch '      15
    //   grep -c ': `T'           22 forms, of which About and SNMP Configure
    //                            are main-window actions
    //   device action / help     3
    //   grep -c 'pages:'         14 paged dialogs
    //   grep -o 'page "'         29 pages
    //   grep -o '[ET] [0-3]/[0-9], [0-9]* v'   234 panels
    //   and the main window's own Test Connection, Back Up Configuration,
    //   Compare with Switch and Changes entries
    QCOMPARE(menu().count(), 328);
    QCOMPARE(countIf([](const KtMenuEntry &e) { return e.hidden(); }), 8);
    QCOMPARE(countIf([](const KtMenuEntry &e) { return e.action() == KtMenuEntry::Submenu; }), 63);
    QCOMPARE(countIf([](const KtMenuEntry &e) { return e.action() == KtMenuEntry::Sibling; }), 15);
    QCOMPARE(countIf([](const KtMenuEntry &e) { return e.action() == KtMenuEntry::Dedicated; }), 20);
    QCOMPARE(countIf([](const KtMenuEntry &e) { return e.action() == KtMenuEntry::MainWindow; }), 9);
    QCOMPARE(countIf([](const KtMenuEntry &e) { return e.action() == KtMenuEntry::NoAction; }), 2);
    QCOMPARE(countIf([](const KtMenuEntry &e) { return e.action() == KtMenuEntry::Generic; }),
             328 - 63 - 15 - 20 - 9 - 2);
    QCOMPARE(countIf([](const KtMenuEntry &e) { return e.layout() == KtMenuEntry::PagedLayout
                                                       && e.action() == KtMenuEntry::Generic; }), 14);

    int panels = 0;
    int pages = 0;
    for (int i = 0; i < menu().count(); ++i) {
        for (const KtMenuPanel &p : menu().at(i).panels()) {
            ++panels;
            pages += p.pageCaption.isEmpty() ? 0 : 1;
        }
    }
    QCOMPARE(panels, 234);
    QCOMPARE(pages, 29);
}

void TestMenuCatalogue::tailoringCountsMatchTheMenuTree()
{
    // grep -o over the same lines: 'rows [0-9]\+:' 54, 'fmt [0-9]\+ "' 33,
    // 'ports [0-9]\+' 26, 'no edit' 22, 'width [0-9]\+' 6, 'always [0-9]\+' 2,
    // '\bh[0-9]\+' 24, 'w+[0-9]\+' 2.
    int rows = 0, fmt = 0, ports = 0, noEdit = 0, width = 0, always = 0, heights = 0, widen = 0;
    for (int i = 0; i < menu().count(); ++i) {
        const KtMenuEntry &e = menu().at(i);
        heights += e.dialogHeight() > 0;
        widen += e.widthGrowth() > 0;
        for (const KtMenuPanel &p : e.panels()) {
            rows += p.hasRowStatus();
            for (const KtMenuTailoring &t : p.tailoring) {
                fmt += t.kind == KtMenuTailoring::Format;
                ports += t.kind == KtMenuTailoring::Ports;
                noEdit += t.kind == KtMenuTailoring::NoEdit;
                width += t.kind == KtMenuTailoring::Width;
                always += t.kind == KtMenuTailoring::Always;
            }
        }
    }
    QCOMPARE(rows, 54);
    QCOMPARE(fmt, 33);
    QCOMPARE(ports, 26);
    QCOMPARE(noEdit, 22);
    QCOMPARE(width, 6);
    QCOMPARE(always, 2);
    QCOMPARE(heights, 24);
    QCOMPARE(widen, 2);
}

void TestMenuCatalogue::givenComponentNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");

    QTest::newRow("PortList1") << "PortList1" << "Basic Configuration > Link Aggregation > Port List";
    QTest::newRow("SaveConfig") << "SaveConfig" << "Basic Configuration > Save Changes";
    QTest::newRow("Reset") << "Reset" << "Basic Configuration > Reboot";
    QTest::newRow("SNMPConfigure1") << "SNMPConfigure1" << "SNMP V3 > SNMP Configure";
    QTest::newRow("Statistics1") << "Statistics1" << "RMON > Statistics";
    QTest::newRow("History1") << "History1" << "RMON > History";
    QTest::newRow("AlarmEvent1") << "AlarmEvent1" << "RMON > Alarm/Event";
    QTest::newRow("Engine") << "Engine" << "SNMP V3 > SNMP Engine";
    QTest::newRow("MPD") << "MPD" << "SNMP V3 > Message Processing and Dispatching";
    QTest::newRow("TARGET") << "TARGET" << "SNMP V3 > SNMP Target MIB";
    QTest::newRow("USM") << "USM" << "SNMP V3 > User-based Security Model";
    QTest::newRow("VACM") << "VACM" << "SNMP V3 > View-based Access Control Model";
    QTest::newRow("Notification1") << "Notification1" << "SNMP V3 > Notifications";
    QTest::newRow("CommunityMIB") << "CommunityMIB" << "SNMP V3 > Community";
    QTest::newRow("BridgeSTPInformation") << "BridgeSTPInformation" << "Bridge > Spanning Tree > STP Control";
    QTest::newRow("H1") << "H1" << "Help > Help";
    QTest::newRow("About1") << "About1" << "Help > About";
}

void TestMenuCatalogue::givenComponentNames()
{
    QFETCH(QString, name);
    QFETCH(QString, path);
    const KtMenuEntry *e = menu().Find(name);
    QVERIFY2(e, qPrintable(name));
    QCOMPARE(menu().FindPath(path), e);
    QCOMPARE(e->clickHandler(), name + QStringLiteral("Click"));
}

void TestMenuCatalogue::componentNamesAreStable()
{
    // Derived names: caption without blanks and punctuation, a leading "N"
    // before a digit, numbered in menu order.
    QCOMPARE(menu().FindPath("Basic Configuration > Basic > Basic Information")->name(), QStringLiteral("BasicInformation1"));
    QCOMPARE(menu().FindPath("Basic Configuration > Equipment Management > Basic Information")->name(),
             QStringLiteral("BasicInformation2"));
    QCOMPARE(menu().FindPath("Basic Configuration > Reset")->name(), QStringLiteral("Reset1"));
    QCOMPARE(menu().FindPath("VLAN > 802.1Q > 802.1Q VLAN")->name(), QStringLiteral("N8021QVLAN1"));
    QCOMPARE(menu().FindPath("SNMP V3 > User-based Security Model > Statistics")->name(), QStringLiteral("Statistics2"));
    // The spanning-tree item's caption keeps its final blank.
    QCOMPARE(menu().Find("BridgeSTPInformation")->caption(), QStringLiteral("STP Control "));

    static const QRegularExpression ident(QStringLiteral("^[A-Za-z][A-Za-z0-9]*$"));
    for (int i = 0; i < menu().count(); ++i)
        QVERIFY2(ident.match(menu().at(i).name()).hasMatch(), qPrintable(menu().at(i).name()));
}

void TestMenuCatalogue::siblingLaunches_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("module");

    // The table of sibling launches, independent of the tree listing.
    QTest::newRow("dot3") << "Basic Configuration > dot3 Statistics" << "/TEthernetLike_dot3StatsTable" << "EthernetLike";
    QTest::newRow("fdb") << "Bridge > Transparent Bridge > Forwarding Table" << "/TBridge_Forwarding" << "Bridge";
    QTest::newRow("static") << "VLAN > 802.1Q > Unicast/Multicast Static Forwarding Table" << "/TVLan_Tp8021QStatic" << "VLan";
    QTest::newRow("stats") << "RMON > Statistics" << "/TRmon_Statistics" << "Rmon";
    QTest::newRow("history") << "RMON > History" << "/TRmon_History" << "Rmon";
    QTest::newRow("alarm") << "RMON > Alarm/Event" << "/TRmon_AlarmEvent" << "Rmon";
    QTest::newRow("cidr") << "Layer 3 Management > CIDR (RFC2096)" << "/TLayer3_RIP" << "Layer3";
    QTest::newRow("rip2") << "Layer 3 Management > RIP2 (RFC1724)" << "/TLayer3_RIP2" << "Layer3";
    QTest::newRow("ospf") << "Layer 3 Management > OSPF > OSPF General" << "/TLayer3_OSPF" << "Layer3";
    QTest::newRow("area") << "Layer 3 Management > OSPF > Area Info" << "/TLayer3_Area" << "Layer3";
    QTest::newRow("lsdb") << "Layer 3 Management > OSPF > Lsdb  Info" << "/TLayer3_Lsdb" << "Layer3";
    QTest::newRow("neighbor") << "Layer 3 Management > OSPF > Neighbor Info" << "/TLayer3_Neighbor" << "Layer3";
    QTest::newRow("ipm") << "Layer 3 Management > IPMroute" << "/TLayer3_IPM" << "Layer3";
    QTest::newRow("dvmrp") << "Layer 3 Management > DVMRP" << "/TLayer3_DVMRP" << "Layer3";
    QTest::newRow("pim") << "Layer 3 Management > PIM Management > PIM(RFC2934) > PIM Info" << "/TLayer3_PIM" << "Layer3";
}

void TestMenuCatalogue::siblingLaunches()
{
    QFETCH(QString, path);
    QFETCH(QString, argument);
    QFETCH(QString, module);
    const KtMenuEntry *e = menu().FindPath(path);
    QVERIFY2(e, qPrintable(path));
    QCOMPARE(e->action(), KtMenuEntry::Sibling);
    QCOMPARE(e->siblingArgument(), argument);
    QCOMPARE(e->siblingModule(), module);
}

void TestMenuCatalogue::captionStyles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("caption");

    const QString h = QStringLiteral("10.90.90.90");
    QTest::newRow("named, blank colon blank") << "Basic Configuration > Basic > Basic Information" << true
                                              << "Basic Information : " + h;
    QTest::newRow("named, colon blank") << "Basic Configuration > Basic > Dual Configuration" << true
                                        << "Dual Configuration Table: " + h;
    QTest::newRow("named, bare colon") << "Basic Configuration > MIB II > ARP" << true << "ARP Table:" + h;
    QTest::newRow("named, dialog name with blank") << "Security > Access Control Information > AAC Control Administration State"
                                                   << true << "AAC Control Administration State  : " + h;
    QTest::newRow("plain") << "Basic Configuration > Basic > Basic Configuration" << false << "Basic Configuration : " + h;
    QTest::newRow("plain, no separator 1") << "Bridge > Spanning Tree > Configuration Identification" << false
                                           << "MSTP Configuration Identication" + h;
    QTest::newRow("plain, no separator 2") << "Bridge > Spanning Tree > Port State Information" << false
                                           << "MSTP Port State Information" + h;
    QTest::newRow("plain, double blank") << "Layer2 Management > MLD Snooping > Router Ports" << false
                                         << "MLD Snooping Router Ports  : " + h;
    QTest::newRow("dedicated, plain") << "Single IP Configuration > Single IP MS Table" << false
                                      << "Member Switch Information Table : " + h;
    QTest::newRow("dedicated, named") << "Basic Configuration > ACL Management > Access Profile > ACL Meter Table" << true
                                      << "ACL Meter Table: " + h;
}

void TestMenuCatalogue::captionStyles()
{
    QFETCH(QString, path);
    QFETCH(bool, named);
    QFETCH(QString, caption);
    const KtMenuEntry *e = menu().FindPath(path);
    QVERIFY2(e, qPrintable(path));
    QVERIFY(e->hasCaptionPrefix());
    QCOMPARE(e->captionNamed(), named);
    QCOMPARE(e->dialogCaption(QStringLiteral("10.90.90.90")), caption);
}

void TestMenuCatalogue::hooksSitOnTheirPanels()
{
    QMap<QChar, QString> hooks;
    QStringList closeHooks;
    for (int i = 0; i < menu().count(); ++i) {
        const KtMenuEntry &e = menu().at(i);
        if (e.rmonCheckOnClose())
            closeHooks << e.path();
        for (const KtMenuPanel &p : e.panels()) {
            if (!p.addHook.isNull()) {
                QVERIFY2(!hooks.contains(p.addHook), "hook used twice");
                hooks.insert(p.addHook, e.path() + QStringLiteral(" / ") + p.pageCaption);
            }
        }
    }
    QCOMPARE(hooks.value('A'), QStringLiteral("SNMP V3 > View-based Access Control Model > View MIB Tree Family Table / View Tree Family Table"));
    QCOMPARE(hooks.value('B'), QStringLiteral("SNMP V3 > Community > Community String Table / "));
    QCOMPARE(hooks.value('C'), QStringLiteral("VLAN > 802.1Q > 802.1Q VLAN / VLAN Static Table"));
    QCOMPARE(hooks.size(), 3);
    QCOMPARE(closeHooks, QStringList({"RMON > RMON State"}));
}

void TestMenuCatalogue::mainWindowActionsAndDedicatedDialogs()
{
    QCOMPARE(menu().Find("SaveConfig")->mainAction(), KtMenuEntry::SaveChanges);
    QCOMPARE(menu().Find("Reset")->mainAction(), KtMenuEntry::Reboot);
    QCOMPARE(menu().Find("H1")->mainAction(), KtMenuEntry::Help);
    QCOMPARE(menu().Find("About1")->mainAction(), KtMenuEntry::About);
    QCOMPARE(menu().Find("SNMPConfigure1")->mainAction(), KtMenuEntry::SNMPConfigure);
    QCOMPARE(menu().Find("TestConnection1")->mainAction(), KtMenuEntry::TestConnection);
    QCOMPARE(menu().Find("TestConnection1")->path(), QString("Basic Configuration > Test Connection..."));
    QCOMPARE(menu().Find("Changes1")->mainAction(), KtMenuEntry::Changes);
    QCOMPARE(menu().Find("Changes1")->path(), QString("Basic Configuration > Changes..."));

    const QStringList forms = {
        "TEquipmentBasicInfoForm", "TCurrentTimeForm", "TSummerTimeForm", "TACLMeterForm", "TIF_Counters",
        "TIP_Counters", "TIP_Routing", "TICMP_Counters", "TUDP_Counters", "TSNMP_Counters", "TMSInformationForm",
        "TSTP_Info", "TTpBridgePortInfo_Table", "TSSLManagementForm", "TfrmACCServerCtrl", "TMd5InformationForm",
        "TIpCtrlForm", "TBOOTCtrlTableForm", "TRouteRedistributForm", "TOSPFDefaultInfoOriginateForm"};
    QStringList found;
    for (int i = 0; i < menu().count(); ++i)
        if (menu().at(i).action() == KtMenuEntry::Dedicated)
            found << menu().at(i).formClass();
    QCOMPARE(found, forms);
    // Only some dedicated dialogs get a caption prefix from the menu.
    QVERIFY(!menu().Find("BridgeSTPInformation")->hasCaptionPrefix());
    QCOMPARE(menu().FindPath("Layer 3 Management > BOOTP Ctrl Table")->captionPrefix(), QStringLiteral("BOOTP Ctrl Table: "));
}

void TestMenuCatalogue::hiddenEntries()
{
    QStringList hidden;
    for (int i = 0; i < menu().count(); ++i)
        if (menu().at(i).hidden())
            hidden << menu().at(i).path();
    QCOMPARE(hidden, QStringList({
        "Basic Configuration > Equipment Management > POE Management > POE System Control",
        "Basic Configuration > Filter > Filter DHCP Permit Table",
        "Basic Configuration > Filter > Filter DHCP Port Table",
        "Basic Configuration > Filter > Filter NetBIOS Table",
        "Basic Configuration > Filter > Filter Extensive NetBIOS Table",
        "Basic Configuration > Refresh Panel",
        "Basic Configuration > Exit",
        "Security > 802.1X > RADIUS Server > RADIUS Accounting Server Table",
    }));
    // The two items without a click action sit right after "System Log".
    const KtMenuEntry *log = menu().FindPath("Basic Configuration > System Log");
    const auto &siblings = log->parent()->children();
    const qsizetype at = siblings.indexOf(log);
    QCOMPARE(siblings.at(at + 1)->action(), KtMenuEntry::NoAction);
    QCOMPARE(siblings.at(at + 2)->action(), KtMenuEntry::NoAction);
    QCOMPARE(siblings.at(at + 3)->name(), QStringLiteral("SaveConfig"));
}

void TestMenuCatalogue::fourEntriesInFull()
{
    const KtMenuEntry *portList = menu().Find("PortList1");
    QCOMPARE(portList->dialogCaption("h"), QStringLiteral("Aggregator Port List : h"));
    QCOMPARE(portList->layout(), KtMenuEntry::TableLayout);
    QCOMPARE(portList->panels().size(), 1);
    {
        const KtMenuPanel &p = portList->panels().at(0);
        QCOMPARE(int(p.listKind), 2);
        QCOMPARE(p.indexCount, 1);
        QVERIFY(!p.hasRowStatus());
        QCOMPARE(p.tailoring, QList<KtMenuTailoring>({{KtMenuTailoring::Ports, 1, {}}}));
    }
    QCOMPARE(portList->dialogHeight(), 450);
    QCOMPARE(portList->widthGrowth(), 50);

    const KtMenuEntry *sysTime = menu().FindPath("Basic Configuration > Time Management > System Time");
    QCOMPARE(sysTime->dialogCaption("h"), QStringLiteral("System Time: h"));
    QCOMPARE(sysTime->layout(), KtMenuEntry::EditorLayout);
    {
        const KtMenuPanel &p = sysTime->panels().at(0);
        QCOMPARE(int(p.listKind), 0);
        QCOMPARE(p.tailoring, QList<KtMenuTailoring>({{KtMenuTailoring::Format, 3, "%i{n-779x839}"}}));
    }

    const KtMenuEntry *community = menu().FindPath("SNMP V3 > Community > Community String Table");
    QCOMPARE(community->dialogCaption("h"), QStringLiteral("Community Table : h"));
    QCOMPARE(community->layout(), KtMenuEntry::TableLayout);
    {
        const KtMenuPanel &p = community->panels().at(0);
        QCOMPARE(int(p.listKind), 3);
        QCOMPARE(p.indexCount, 1);
        QCOMPARE(p.rowStatusColumn, 7);
        QCOMPARE(p.addValue, QStringLiteral("createAndGo"));
        QCOMPARE(p.deleteValue, QStringLiteral("destroy"));
        QCOMPARE(p.tailoring, QList<KtMenuTailoring>({{KtMenuTailoring::Width, 150, {}}}));
        QCOMPARE(p.addHook, QChar('B'));
    }

    const KtMenuEntry *vlan = menu().FindPath("VLAN > 802.1Q > 802.1Q VLAN");
    QCOMPARE(vlan->dialogCaption("h"), QStringLiteral("802.1Q VLAN Config: h"));
    QCOMPARE(vlan->layout(), KtMenuEntry::PagedLayout);
    QCOMPARE(vlan->panels().size(), 2);
    {
        const KtMenuPanel &p = vlan->panels().at(0);
        QCOMPARE(p.pageCaption, QStringLiteral("VLAN Static Table"));
        QCOMPARE(int(p.listKind), 3);
        QCOMPARE(p.indexCount, 1);
        QCOMPARE(p.rowStatusColumn, 5);
        QCOMPARE(p.addValue, QStringLiteral("CreateAndGo"));
        QCOMPARE(p.deleteValue, QStringLiteral("Destroy"));
        QCOMPARE(p.positions(KtMenuTailoring::Ports), QList<int>({2, 3, 4}));
        QCOMPARE(p.positions(KtMenuTailoring::Format), QList<int>({0, 1}));
        QCOMPARE(p.tailoring.at(3).format, QStringLiteral("%i{n1x4094}"));
        QCOMPARE(p.tailoring.at(4).format, QStringLiteral("%s{l32}"));
        QCOMPARE(p.addHook, QChar('C'));
        const KtMenuPanel &q = vlan->panels().at(1);
        QCOMPARE(q.pageCaption, QStringLiteral("VLAN Current Table"));
        QCOMPARE(int(q.listKind), 3);
        QCOMPARE(q.indexCount, 2);
        QVERIFY(!q.hasRowStatus());
        QVERIFY(q.tailoring.isEmpty());
    }
}

// ---------------------------------------------------------------------------
// The compiled-in catalogue against the descriptor tables

static const KtMibData &mib()
{
    return KtMibData::Instance();
}

// Captions without surrounding blanks, as the descriptor data names menus.
static QString trimmedPath(const KtMenuEntry &e)
{
    QStringList parts;
    for (const KtMenuEntry *p = &e; p; p = p->parent())
        parts.prepend(p->caption().trimmed());
    return parts.join(QLatin1String(" > "));
}

// The records a panel's list is built from: its tables one after the other.
static QList<const KtSNMPVar *> panelVars(const KtMenuPanel &panel)
{
    QList<const KtSNMPVar *> vars;
    for (const QString &name : panel.tables) {
        const KtSNMPVarTable *table = mib().FindTable(name);
        if (!table)
            continue;
        for (const KtSNMPVar &v : *table) {
            if (v.isEnd())
                break;
            vars.append(&v);
        }
    }
    return vars;
}

struct PanelRef
{
    const KtMenuEntry *entry;
    const KtMenuPanel *panel;
    QString where() const
    {
        return QStringLiteral("%1 (line %2)").arg(entry->path()).arg(panel->line);
    }
};

static QList<PanelRef> allPanels()
{
    QList<PanelRef> result;
    for (int i = 0; i < menu().count(); ++i)
        for (const KtMenuPanel &p : menu().at(i).panels())
            result.append({&menu().at(i), &p});
    return result;
}

static bool isWritable(const KtSNMPVar &v)
{
    return (v.Access & KtAccess::WriteOnly) != 0;
}

void TestMenuCatalogue::everyPanelResolvesToItsTables()
{
    for (const PanelRef &ref : allPanels()) {
        QStringList roots;
        for (const QString &name : ref.panel->tables) {
            const KtMibData::Table *info = mib().FindTableInfo(name);
            QVERIFY2(info, qPrintable(ref.where() + ": no table " + name));
            roots += info->Roots;

            // The table names this menu entry (and page) among its users.
            const QString path = trimmedPath(*ref.entry);
            const QString paged = path + QStringLiteral(" [page \"%1\"]").arg(ref.panel->pageCaption);
            const bool named = ref.panel->pageCaption.isEmpty()
                                   ? info->MenuPaths.contains(path)
                                   : info->MenuPaths.contains(paged)
                                         // a dialog with a single page may be named without it
                                         || (ref.entry->panels().size() == 1 && info->MenuPaths.contains(path));
            QVERIFY2(named, qPrintable(ref.where() + ": table " + name + " is for " + info->MenuPaths.join(" | ")));
        }
        QVERIFY2(roots == ref.panel->roots,
                 qPrintable(ref.where() + ": roots " + ref.panel->roots.join(' ') + " vs " + roots.join(' ')));
    }
}

void TestMenuCatalogue::everyTableIsUsed()
{
    QSet<QString> used;
    for (const PanelRef &ref : allPanels())
        for (const QString &name : ref.panel->tables)
            used.insert(name);
    QStringList unused;
    for (const QString &name : mib().TableNames())
        if (!used.contains(name))
            unused << name;
    QVERIFY2(unused.isEmpty(), qPrintable(unused.join(", ")));
    // 234 panels over 233 tables: only the hidden copy of "RADIUS
    // Accounting Server Table" shares its table.
    QCOMPARE(used.size(), 233);
    QCOMPARE(mib().TableCount(), 233);
}

void TestMenuCatalogue::variableCountsMatchTables()
{
    for (const PanelRef &ref : allPanels())
        QVERIFY2(panelVars(*ref.panel).size() == ref.panel->varCount,
                 qPrintable(QStringLiteral("%1: %2 v in the menu, %3 records")
                                .arg(ref.where()).arg(ref.panel->varCount).arg(panelVars(*ref.panel).size())));
}

void TestMenuCatalogue::tailoringIndicesLieInsideTables()
{
    for (const PanelRef &ref : allPanels()) {
        const int records = int(panelVars(*ref.panel).size());
        QVERIFY2(ref.panel->indexCount <= records, qPrintable(ref.where()));
        QVERIFY2(ref.panel->rowStatusColumn < records, qPrintable(ref.where()));
        for (const KtMenuTailoring &t : ref.panel->tailoring) {
            if (t.kind == KtMenuTailoring::NoEdit || t.kind == KtMenuTailoring::Width)
                continue;
            QVERIFY2(t.value >= 0 && t.value < records,
                     qPrintable(QStringLiteral("%1: item %2 of %3 records").arg(ref.where()).arg(t.value).arg(records)));
        }
    }
}

void TestMenuCatalogue::rowStatusValuesAreOptionLabels()
{
    int checked = 0;
    for (const PanelRef &ref : allPanels()) {
        if (!ref.panel->hasRowStatus())
            continue;
        const QList<const KtSNMPVar *> vars = panelVars(*ref.panel);
        const KtSNMPVar &status = *vars.at(ref.panel->rowStatusColumn);
        QVERIFY2(status.Options, qPrintable(ref.where() + ": row-status column without options"));
        QVERIFY2(isWritable(status), qPrintable(ref.where() + ": row-status column not writable"));
        for (const QString &value : {ref.panel->addValue, ref.panel->deleteValue}) {
            bool found = false;
            for (const KtOptionEntry &o : status.Options->entries())
                found = found || o.Label.compare(value, Qt::CaseInsensitive) == 0;
            QVERIFY2(found, qPrintable(ref.where() + ": no label " + value + " on " + status.Label));
        }
        ++checked;
    }
    QCOMPARE(checked, 54);
}

void TestMenuCatalogue::formatsParseAsEditConstraints()
{
    int checked = 0;
    for (const PanelRef &ref : allPanels()) {
        const QList<const KtSNMPVar *> vars = panelVars(*ref.panel);
        for (const KtMenuTailoring &t : ref.panel->tailoring) {
            if (t.kind != KtMenuTailoring::Format)
                continue;
            KtConstraintFormat c;
            try {
                c = parseConstraint(t.format);
            } catch (const KtException &e) {
                QFAIL(qPrintable(ref.where() + ": " + t.format + ": " + e.message()));
            }
            // The format's kind has to suit the variable it is put on.
            const KtSNMPVar &v = *vars.at(t.value);
            const bool text = v.Type == KtType::DisplayStr || v.Type == KtType::OctetStr;
            const bool number = v.Type == KtType::Integer || v.Type == KtType::Gauge || v.Type == KtType::UInteger
                                || v.Type == KtType::Counter || v.Type == KtType::TimeTicks;
            if (c.type == 's')
                QVERIFY2(text, qPrintable(ref.where() + ": " + t.format + " on " + v.Label));
            else
                QVERIFY2((c.type == 'i' || c.type == 'u') && number,
                         qPrintable(ref.where() + ": " + t.format + " on " + v.Label));
            if (c.type == 'i' || c.type == 'u')
                QVERIFY2(c.minimum <= c.maximum, qPrintable(ref.where() + ": " + t.format));
            ++checked;
        }
    }
    QCOMPARE(checked, 33);
}

void TestMenuCatalogue::tailoredVariablesSuitTheirItems()
{
    for (const PanelRef &ref : allPanels()) {
        const QList<const KtSNMPVar *> vars = panelVars(*ref.panel);
        for (const KtMenuTailoring &t : ref.panel->tailoring) {
            if (t.kind == KtMenuTailoring::Ports) {
                // The port picker builds a port list.
                const KtSNMPVar &v = *vars.at(t.value);
                QVERIFY2(v.Type == KtType::BitStr || v.Type == KtType::OctetStr,
                         qPrintable(ref.where() + ": port picker on " + v.Label));
            } else if (t.kind == KtMenuTailoring::Always) {
                QVERIFY2(isWritable(*vars.at(t.value)), qPrintable(ref.where() + ": always on a read-only variable"));
            }
        }
        // Scalar editors hold no index known only from an instance suffix.
        if (ref.panel->listKind == KtKind::SVT_SV)
            for (const KtSNMPVar *v : vars)
                QVERIFY2(v->Oid != QLatin1String(" "), qPrintable(ref.where() + ": index in a scalar list"));
    }
}

void TestMenuCatalogue::fourEntriesRecordByRecord_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QString>("oid");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("access");
    QTest::addColumn<QString>("options");

    const int ro = KtAccess::ReadOnly;
    const int rw = KtAccess::ReadWrite;
    const int na = KtAccess::NotAccess;
    const QString pl = QStringLiteral("Basic Configuration > Link Aggregation > Port List");
    QTest::newRow("port list 0") << pl << "" << 2 << 0 << " " << "AggIndex" << 2 << na << "";
    QTest::newRow("port list 1") << pl << "" << 2 << 1 << "1.3.6.1.4.1.32473.12.4.1.1.2.1.1" << "AggPortListPorts" << 3 << ro << "";

    const QString st = QStringLiteral("Basic Configuration > Time Management > System Time");
    const QString stRoot = QStringLiteral("1.3.6.1.4.1.32473.12.10.10.");
    QTest::newRow("system time 0") << st << "" << 4 << 0 << stRoot + "1" << "Current Time" << 76 << ro << "";
    QTest::newRow("system time 1") << st << "" << 4 << 1 << stRoot + "2" << "UpTime" << 76 << ro << "";
    QTest::newRow("system time 2") << st << "" << 4 << 2 << stRoot + "3" << "Boot Time" << 76 << ro << "";
    QTest::newRow("system time 3") << st << "" << 4 << 3 << stRoot + "4" << "Time Zone [ -779..839]" << 2 << rw << "";

    const QString cs = QStringLiteral("SNMP V3 > Community > Community String Table");
    const QString csRoot = QStringLiteral("1.3.6.1.6.3.18.1.1.1.");
    const QString rowStatus = QStringLiteral("1 active, 4 createAndGo, 6 destroy");
    QTest::newRow("community 0") << cs << "" << 8 << 0 << csRoot + "1" << "Community Index" << 76 << 65 << "";
    QTest::newRow("community 1") << cs << "" << 8 << 1 << csRoot + "2" << "Community Name" << 76 << rw << "";
    QTest::newRow("community 2") << cs << "" << 8 << 2 << csRoot + "3" << "Community Security Name" << 76 << rw << "";
    QTest::newRow("community 3") << cs << "" << 8 << 3 << csRoot + "4" << "Community Context EngineID" << 4 << rw << "";
    QTest::newRow("community 4") << cs << "" << 8 << 4 << csRoot + "5" << "Community Context Name" << 76 << rw << "";
    QTest::newRow("community 5") << cs << "" << 8 << 5 << csRoot + "6" << "Community Transport Tag" << 76 << rw << "";
    QTest::newRow("community 6") << cs << "" << 8 << 6 << csRoot + "7" << "Community Storage Type" << 2 << rw
                                 << "2 volatile, 3 nonVolatile, 4 permanent, 5 readOnly";
    QTest::newRow("community 7") << cs << "" << 8 << 7 << csRoot + "8" << "Community Status" << 2 << rw << rowStatus;

    const QString vl = QStringLiteral("VLAN > 802.1Q > 802.1Q VLAN");
    const QString vs = QStringLiteral("VLAN Static Table");
    const QString vsRoot = QStringLiteral("1.3.6.1.2.1.17.7.1.4.3.1.");
    QTest::newRow("vlan static 0") << vl << vs << 6 << 0 << " " << "Index" << 66 << na << "";
    QTest::newRow("vlan static 1") << vl << vs << 6 << 1 << vsRoot + "1" << "Static Name" << 76 << rw << "";
    QTest::newRow("vlan static 2") << vl << vs << 6 << 2 << vsRoot + "2" << "Static Egress Ports" << 3 << rw << "";
    QTest::newRow("vlan static 3") << vl << vs << 6 << 3 << vsRoot + "3" << "Forbidden Egress Ports" << 3 << rw << "";
    QTest::newRow("vlan static 4") << vl << vs << 6 << 4 << vsRoot + "4" << "Static Untagged Ports" << 3 << rw << "";
    QTest::newRow("vlan static 5") << vl << vs << 6 << 5 << vsRoot + "5" << "Static Row Status" << 2 << rw << rowStatus;

    const QString vc = QStringLiteral("VLAN Current Table");
    const QString vcRoot = QStringLiteral("1.3.6.1.2.1.17.7.1.4.2.1.");
    QTest::newRow("vlan current 0") << vl << vc << 7 << 0 << vcRoot + "1" << "VLAN Time Mark" << 67 << na << "";
    QTest::newRow("vlan current 1") << vl << vc << 7 << 1 << vcRoot + "2" << "VLAN Index" << 66 << na << "";
    QTest::newRow("vlan current 2") << vl << vc << 7 << 2 << vcRoot + "3" << "VLAN FDB ID" << 66 << ro << "";
    QTest::newRow("vlan current 3") << vl << vc << 7 << 3 << vcRoot + "4" << "VLAN Current Egress Ports" << 3 << ro << "";
    QTest::newRow("vlan current 4") << vl << vc << 7 << 4 << vcRoot + "5" << "VLAN Current Untagged Ports" << 3 << ro << "";
    QTest::newRow("vlan current 5") << vl << vc << 7 << 5 << vcRoot + "6" << "VLAN Status" << 2 << ro
                                    << "2 permanent, 3 dynamicGvrp";
    QTest::newRow("vlan current 6") << vl << vc << 7 << 6 << vcRoot + "7" << "VLAN Creation Time" << 67 << ro << "";
}

void TestMenuCatalogue::fourEntriesRecordByRecord()
{
    QFETCH(QString, path);
    QFETCH(QString, page);
    QFETCH(int, count);
    QFETCH(int, pos);
    QFETCH(QString, oid);
    QFETCH(QString, label);
    QFETCH(int, type);
    QFETCH(int, access);
    QFETCH(QString, options);

    const KtMenuEntry *e = menu().FindPath(path);
    QVERIFY(e);
    const KtMenuPanel *panel = nullptr;
    for (const KtMenuPanel &p : e->panels())
        if (p.pageCaption == page)
            panel = &p;
    QVERIFY(panel);
    const QList<const KtSNMPVar *> vars = panelVars(*panel);
    QCOMPARE(int(vars.size()), count);
    const KtSNMPVar &v = *vars.at(pos);

    // A record holds its full OID; the catalogue's root is its prefix.
    QCOMPARE(v.Oid, oid);
    if (oid != QLatin1String(" "))
        QVERIFY(oid.startsWith(panel->roots.first() + QLatin1Char('.')));
    QCOMPARE(v.Label, label);
    QCOMPARE(int(v.Type), type);
    QCOMPARE(int(v.Access), access);
    QStringList got;
    if (v.Options)
        for (int i = 0; i < v.Options->count(); ++i)
            got << v.Options->ValueText(i) + QLatin1Char(' ') + v.Options->Get(i).Label;
    QCOMPARE(got.join(QLatin1String(", ")), options);
}

QTEST_GUILESS_MAIN(TestMenuCatalogue)
#include "tst_menucatalogue.moc"
