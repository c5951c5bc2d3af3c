#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "values/KtConstraintFormat.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cfloat>

using Verdict = KtConstraintFormat::Verdict;

static const QString BadText = QStringLiteral("Bad format specifier of edit's constraint!");

class TstConstraintFormat : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { KtCatalogue::RestoreBuiltIn(KtCatalogue::Common); }

    void fields_data();
    void fields();
    void unsignedBounds_data();
    void unsignedBounds();
    void badFormats_data();
    void badFormats();
    void badFormatTextFollowsCatalogue();
    void messagesFromCatalogueFile();

    void typing_data();
    void typing();
    void accepted_data();
    void accepted();
    void exit_data();
    void exit();

    void splitConstraints_data();
    void splitConstraints();
    void splitRow_data();
    void splitRow();
    void splitRowRejectsBadPiece_data();
    void splitRowRejectsBadPiece();
    void formatBound_data();
    void formatBound();

    void randomFormats();
};

void TstConstraintFormat::fields_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<char>("delimiter");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("width");
    QTest::addColumn<char>("exitChar");

    const double imin = -2147483648.0, imax = 2147483647.0;
    const int A = KtConstraintFormat::Advance, F = KtConstraintFormat::Exact,
              N = KtConstraintFormat::Required;
    struct Row { const char *f; double lo, hi; int len, flags; char delim = 0, exit = 0; int width = 0; };
    const Row rows[] = {
        // Every format the program uses.
        {"%s", 0, 0, 0, 0}, {"%i", imin, imax, 0, 0},
        {"%s{l2}", 0, 0, 2, 0}, {"%s{l12}", 0, 0, 12, 0}, {"%s{l16}", 0, 0, 16, 0},
        {"%s{l22}", 0, 0, 22, 0}, {"%s{l32}", 0, 0, 32, 0},
        {"%u{n0x65535l5}", 0, 65535, 5, 0}, {"%i{n0x7}", 0, 7, 0, 0},
        {"%i{n0x7l1}", 0, 7, 1, 0}, {"%i{n0x8l1}", 0, 8, 1, 0},
        {"%i{n0x15}", 0, 15, 0, 0}, {"%i{n0x16}", 0, 16, 0, 0},
        {"%i{n0x255l3}", 0, 255, 3, 0}, {"%i{n0x255000}", 0, 255000, 0, 0},
        {"%i{n0x65535}", 0, 65535, 0, 0}, {"%i{n0x65535l5}", 0, 65535, 5, 0},
        {"%i{n0x999936l6a}", 0, 999936, 6, A}, {"%i{n0x1000000}", 0, 1000000, 0, 0},
        {"%i{n0x16777214l8}", 0, 16777214, 8, 0}, {"%i{n0x16777214l8a}", 0, 16777214, 8, A},
        {"%i{n0x2147483647l10}", 0, imax, 10, 0}, {"%i{n1x10}", 1, 10, 0, 0},
        {"%i{n1x10l2a}", 1, 10, 2, A}, {"%i{n1x16l2}", 1, 16, 2, 0},
        {"%i{n1x20l2a}", 1, 20, 2, A}, {"%i{n1x32l2a}", 1, 32, 2, A},
        {"%i{n1x255}", 1, 255, 0, 0}, {"%i{n1x255l3}", 1, 255, 3, 0},
        {"%i{n1x255l3a}", 1, 255, 3, A}, {"%i{n1x256l3}", 1, 256, 3, 0},
        {"%i{n1x4094}", 1, 4094, 0, 0}, {"%i{n1x65535}", 1, 65535, 0, 0},
        {"%i{n1x65535l5}", 1, 65535, 5, 0}, {"%i{n1x65535l5a}", 1, 65535, 5, A},
        {"%i{n30x120l3}", 30, 120, 3, 0}, {"%i{n30x99999}", 30, 99999, 0, 0},
        {"%i{n100x1000l4a}", 100, 1000, 4, A}, {"%i{n400x3000l4a}", 400, 3000, 4, A},
        {"%i{n600x4000l4a}", 600, 4000, 4, A}, {"%i{n-779x839}", -779, 839, 0, 0},
        {"%i{w30n0x255l3}", 0, 255, 3, 0, 0, 0, 30},
        // Defaults of the other types.
        {"%h", 0, 0, 0, 0}, {"%u", 0, 4294967295.0, 0, 0}, {"%f", DBL_MIN, DBL_MAX, 0, 0},
        {"%n.", DBL_MIN, DBL_MAX, 0, 0, '.'}, {"%n{", DBL_MIN, DBL_MAX, 0, 0, '{'},
        // Option details.
        {"%i{l3x9n-2w40}", -2, 9, 3, 0, 0, 0, 40},
        {"%s{l8afn}", 0, 0, 8, A | F | N}, {"%i{l2nax5}", imin, 5, 2, A | N},
        {"%s{l2ff}", 0, 0, 2, F}, {"%s{e;l5}", 0, 0, 5, 0, 0, ';'},
        {"%s{e}}", 0, 0, 0, 0, 0, '}'}, {"%s{enl1}", 0, 0, 1, 0, 0, 'n'},
        {"%f{n-1.5x2.25}", -1.5, 2.25, 0, 0}, {"%i{x5x7}", imin, 7, 0, 0},
        {"%u{}", 0, 4294967295.0, 0, 0}, {"%n.{n1x254l4f}", 1, 254, 4, F, '.'},
    };
    for (const Row &r : rows)
        QTest::newRow(r.f) << QString(r.f) << r.delim << r.lo << r.hi << r.len << r.flags << r.width
                           << r.exit;
}

void TstConstraintFormat::fields()
{
    QFETCH(QString, format);
    QFETCH(char, delimiter);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(int, maxLength);
    QFETCH(int, flags);
    QFETCH(int, width);
    QFETCH(char, exitChar);

    const KtConstraintFormat f = parseConstraint(format);
    QCOMPARE(f.type, char(format.at(1).toLatin1()));
    QCOMPARE(f.delimiter, delimiter);
    QCOMPARE(f.minimum, minimum);
    QCOMPARE(f.maximum, maximum);
    QCOMPARE(f.maxLength, maxLength);
    QCOMPARE(int(f.flags), flags);
    QCOMPARE(f.width, width);
    QCOMPARE(f.exitChar, exitChar);
}

void TstConstraintFormat::unsignedBounds_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<uint>("lo");
    QTest::addColumn<uint>("hi");
    QTest::newRow("defaults") << "%n." << 0u << 4294967295u;
    QTest::newRow("negative and fraction") << "%n.{n-5x3.9}" << 0u << 3u;
    QTest::newRow("beyond 32 bits") << "%n.{n1.5x99999999999}" << 1u << 4294967295u;
}

void TstConstraintFormat::unsignedBounds()
{
    QFETCH(QString, format);
    QFETCH(uint, lo);
    QFETCH(uint, hi);
    const KtConstraintFormat f = parseConstraint(format);
    QCOMPARE(f.unsignedMinimum(), lo);
    QCOMPARE(f.unsignedMaximum(), hi);
}

void TstConstraintFormat::badFormats_data()
{
    QTest::addColumn<QString>("format");

    QTest::newRow("empty") << "";
    QTest::newRow("percent only") << "%";
    QTest::newRow("no percent") << "i{n1x5}";
    QTest::newRow("type z") << "%z";
    QTest::newRow("type upper I") << "%I";
    QTest::newRow("type d") << "%d{n1x5}";
    QTest::newRow("n without delimiter") << "%n";
    QTest::newRow("missing closing brace") << "%i{n1x4094";
    QTest::newRow("text after brace") << "%i{n1x5}x";
    QTest::newRow("opening brace only") << "%i{";
    QTest::newRow("other bracket") << "%i(n1)";
    QTest::newRow("text instead of brace") << "%i.";
    QTest::newRow("option q") << "%i{q5}";
    QTest::newRow("option upper N") << "%i{N5}";
    QTest::newRow("n without argument") << "%i{n}";
    QTest::newRow("x without argument") << "%i{n1x}";
    QTest::newRow("l without argument") << "%s{l}";
    QTest::newRow("l with letters") << "%s{la}";
    QTest::newRow("w without argument") << "%i{w}";
    QTest::newRow("e without argument") << "%s{e}";
    QTest::newRow("minus alone") << "%i{n-}";
    QTest::newRow("minus inside number") << "%i{n1-2}";
    QTest::newRow("two dots") << "%f{x1.2.3}";
    QTest::newRow("bound overflows double") << QString("%f{x1%1}").arg(QString(400, '0'));
    QTest::newRow("length overflows int") << "%s{l99999999999}";
    QTest::newRow("fourth flag letter is an option") << "%i{l2afnn}";
    QTest::newRow("n after length is a flag") << "%i{l3n0x5}";
    QTest::newRow("delimiter outside latin-1") << QString::fromUtf8("%n\u20ac{l4}");
    QTest::newRow("exit char outside latin-1") << QString::fromUtf8("%s{e\u20ac}");
    QTest::newRow("digit option") << "%i{5}";
}

void TstConstraintFormat::badFormats()
{
    QFETCH(QString, format);
    try {
        parseConstraint(format);
        QFAIL("parsed a bad format");
    } catch (const KtException &e) {
        QCOMPARE(e.code(), -2);
        QCOMPARE(e.message(), BadText);
    }
}

void TstConstraintFormat::badFormatTextFollowsCatalogue()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("common.err"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Ok\nBad operand\nKaputtes Format!\n");
    file.close();
    QVERIFY(KtCatalogue::LoadCatalogue(KtCatalogue::Common, file.fileName()));
    try {
        parseConstraint("%q");
        QFAIL("parsed a bad format");
    } catch (const KtException &e) {
        QCOMPARE(e.code(), -2);
        QCOMPARE(e.message(), QString("Kaputtes Format!"));
    }
}

void TstConstraintFormat::messagesFromCatalogueFile()
{
    // A catalogue file holds one message per line, so its line breaks are
    // written "\n"; placeholders are filled wherever the file puts them.
    QTemporaryDir dir;
    QFile file(dir.filePath("common.err"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Ok!\nBad logic operand!\nBad format!\n"
               "Zu lang: max [MAXLEN]\nGenau [LEN]\nHex max [MAXLEN]\nHex genau [LEN]\n"
               "Zahl [MIN]..[MAX]\n"
               "Liste '[DELIMITER]'.\\nHoechstens [MAXCOUNT]\n"
               "Liste '[DELIMITER]'.\\nGenau [COUNT]\n"
               "[MAX] >= jede Zahl >= [MIN] ('[DELIMITER]')\\n\n");
    file.close();
    QVERIFY(KtCatalogue::LoadCatalogue(KtCatalogue::Common, file.fileName()));

    QString m;
    QCOMPARE(parseConstraint("%n.{l2}").exitVerdict("1.2.3", &m), Verdict::Reject);
    QCOMPARE(m, QString("Liste '.'.\nHoechstens 2"));
    QCOMPARE(parseConstraint("%n:{l2f}").exitVerdict("1", &m), Verdict::Reject);
    QCOMPARE(m, QString("Liste ':'.\nGenau 2"));
    QCOMPARE(parseConstraint("%n,{n1x5}").exitVerdict("9", &m), Verdict::Reject);
    QCOMPARE(m, QString("5 >= jede Zahl >= 1 (',')\n"));
    QCOMPARE(parseConstraint("%i{n1x4094}").exitVerdict("0", &m), Verdict::Reject);
    QCOMPARE(m, QString("Zahl 1..4094"));
    QCOMPARE(parseConstraint("%h{l4}").exitVerdict("12345", &m), Verdict::Reject);
    QCOMPARE(m, QString("Hex max 4"));
}

void TstConstraintFormat::typing_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("rejected");

    QTest::newRow("s takes anything") << "%s{l32}" << "a-Z .%{}\u00e9" << -1;
    QTest::newRow("h digits and letters") << "%h" << "09afAF" << -1;
    QTest::newRow("h g") << "%h" << "0aFg1" << 3;
    QTest::newRow("h minus") << "%h" << "-1" << 0;
    QTest::newRow("i letter after digits") << "%i{n1x4094}" << "12a" << 2;
    QTest::newRow("i leading minus") << "%i{n-779x839}" << "-779" << -1;
    QTest::newRow("i second minus") << "%i{n-779x839}" << "-7-8" << 2;
    QTest::newRow("i minus after digit") << "%i{n-779x839}" << "7-" << 1;
    QTest::newRow("i dot") << "%i" << "1.5" << 1;
    QTest::newRow("i non-ascii digit") << "%i" << QString::fromUtf8("1\u0663") << 1;
    QTest::newRow("u minus") << "%u{n0x65535l5}" << "-1" << 0;
    QTest::newRow("u digits") << "%u" << "4294967295" << -1;
    QTest::newRow("f one dot") << "%f" << "-1.5" << -1;
    QTest::newRow("f leading dot") << "%f" << ".5" << -1;
    QTest::newRow("f second dot") << "%f" << "1.5.2" << 3;
    QTest::newRow("f minus not first") << "%f" << "1-" << 1;
    QTest::newRow("f exponent") << "%f" << "1e5" << 1;
    QTest::newRow("n numbers") << "%n." << "10.0.0.1" << -1;
    QTest::newRow("n leading delimiter") << "%n." << ".1" << 0;
    QTest::newRow("n double delimiter") << "%n." << "1..2" << 2;
    QTest::newRow("n trailing delimiter") << "%n." << "1." << -1;
    QTest::newRow("n other delimiter") << "%n:" << "1.2" << 1;
    QTest::newRow("n minus") << "%n," << "1,-2" << 2;
    QTest::newRow("empty") << "%i" << "" << -1;
}

void TstConstraintFormat::typing()
{
    QFETCH(QString, format);
    QFETCH(QString, text);
    QFETCH(int, rejected);
    QCOMPARE(parseConstraint(format).firstRejected(text), rejected);
}

void TstConstraintFormat::accepted_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("rejected");

    QTest::newRow("clean") << "%i" << "-12" << "-12" << 0;
    QTest::newRow("minus becomes first") << "%i" << "a-1" << "-1" << 1;
    QTest::newRow("minus later") << "%i" << "1-2-" << "12" << 2;
    QTest::newRow("f dots") << "%f" << "1.2.3." << "1.23" << 2;
    QTest::newRow("f minus after removal") << "%f" << "x-.5" << "-.5" << 1;
    QTest::newRow("n delimiters") << "%n." << "..1..2." << "1.2." << 3;
    QTest::newRow("n run after removal") << "%n." << "1.x.2" << "1.2" << 2;
    QTest::newRow("h") << "%h" << "zz0fZ" << "0f" << 3;
    QTest::newRow("s") << "%s" << "any %{}" << "any %{}" << 0;
    QTest::newRow("all bad") << "%u" << "abc" << "" << 3;
}

void TstConstraintFormat::accepted()
{
    QFETCH(QString, format);
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QFETCH(int, rejected);

    const KtConstraintFormat f = parseConstraint(format);
    int count = -1;
    QCOMPARE(f.acceptedText(text, &count), kept);
    QCOMPARE(count, rejected);
    QCOMPARE(f.firstRejected(kept), -1);

    // Same result as removing the first refused character over and over.
    QString stepwise = text;
    for (int k = f.firstRejected(stepwise); k >= 0; k = f.firstRejected(stepwise))
        stepwise.remove(k, 1);
    QCOMPARE(stepwise, kept);
}

void TstConstraintFormat::exit_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("message");

    const int Skip = int(Verdict::Skip), Accept = int(Verdict::Accept), Reject = int(Verdict::Reject);
    const QString range = "Please enter a number between %1 and %2!";
    const QString listHead = "Please enter a delimited number string with delimiter '%1'.\n";
    const QString required = QString::fromLatin1(KtRequiredEntryText);

    QTest::newRow("null") << "%i{n1x4094}" << "(NULL)" << Skip << "";
    QTest::newRow("notdone") << "%i{n1x4094}" << "(NOTDONE)" << Skip << "";
    QTest::newRow("null required") << "%s{l4fn}" << "(NULL)" << Skip << "";
    QTest::newRow("empty optional") << "%i{n1x4094}" << "" << Skip << "";
    QTest::newRow("empty s optional") << "%s{l32}" << "" << Skip << "";
    QTest::newRow("empty required") << "%s{l32n}" << "" << Reject << required;
    QTest::newRow("empty required i") << "%i{n1x5l1n}" << "" << Reject << required;

    QTest::newRow("i below") << "%i{n1x4094}" << "0" << Reject << range.arg("1", "4094");
    QTest::newRow("i at max") << "%i{n1x4094}" << "4094" << Accept << "";
    QTest::newRow("i at min") << "%i{n1x4094}" << "1" << Accept << "";
    QTest::newRow("i above") << "%i{n1x4094}" << "4095" << Reject << range.arg("1", "4094");
    QTest::newRow("i negative bound") << "%i{n-779x839}" << "-780" << Reject << range.arg("-779", "839");
    QTest::newRow("i negative ok") << "%i{n-779x839}" << "-779" << Accept << "";
    QTest::newRow("i minus alone") << "%i{n-779x839}" << "-" << Reject << range.arg("-779", "839");
    QTest::newRow("i one digit") << "%i{n0x7l1}" << "8" << Reject << range.arg("0", "7");
    QTest::newRow("i 10 digits") << "%i{n0x2147483647l10}" << "2147483648" << Reject
                                 << range.arg("0", "2147483647");
    QTest::newRow("i round max") << "%i{n0x1000000}" << "1000001" << Reject << range.arg("0", "1000000");
    QTest::newRow("i default") << "%i" << "-2147483649" << Reject
                               << range.arg("-2147483648", "2147483647");
    QTest::newRow("u above") << "%u{n0x65535l5}" << "70000" << Reject << range.arg("0", "65535");
    QTest::newRow("u default max") << "%u" << "4294967295" << Accept << "";
    QTest::newRow("f fraction") << "%f{n0x1}" << "0.5" << Accept << "";
    QTest::newRow("f dot alone") << "%f{n0x1}" << "." << Reject << range.arg("0", "1");
    QTest::newRow("f zero below smallest normal") << "%f" << "0" << Reject
                                                  << range.arg("2.2250738585072014e-308",
                                                               "1.7976931348623157e+308");
    QTest::newRow("f huge") << "%f" << ("1" + QString(400, '0')) << Reject
                            << range.arg("2.2250738585072014e-308", "1.7976931348623157e+308");
    QTest::newRow("f nan") << "%f{n-1x1}" << "nan" << Reject << range.arg("-1", "1");
    QTest::newRow("f inf") << "%f{n-1x1}" << "inf" << Reject << range.arg("-1", "1");
    QTest::newRow("f exponent overflow") << "%f{n-1x1}" << "1e999" << Reject << range.arg("-1", "1");
    QTest::newRow("i leading blank") << "%i" << " 5" << Reject << range.arg("-2147483648", "2147483647");

    QTest::newRow("s 32 chars") << "%s{l32}" << QString(32, 'x') << Accept << "";
    QTest::newRow("s too long") << "%s{l32}" << QString(33, 'x') << Reject
                                << "Please enter a string whose length is less than 32!";
    QTest::newRow("s exact short") << "%s{l4f}" << "abc" << Reject << "Please enter a string whose length is 4!";
    QTest::newRow("s exact long") << "%s{l4f}" << "abcde" << Reject << "Please enter a string whose length is 4!";
    QTest::newRow("s exact ok") << "%s{l4f}" << "abcd" << Accept << "";
    QTest::newRow("s unlimited") << "%s" << QString(5000, 'x') << Accept << "";
    QTest::newRow("h too long") << "%h{l2}" << "abc" << Reject
                                << "Please enter a hex string whose length is less than 2!";
    QTest::newRow("h exact") << "%h{l2f}" << "a" << Reject << "Please enter a hex string whose length is 2!";

    QTest::newRow("n ok") << "%n.{n0x255l4f}" << "10.0.0.255" << Accept << "";
    QTest::newRow("n too few") << "%n.{n0x255l4f}" << "10.0.0" << Reject
                               << listHead.arg('.') + "Here,the count of the number is equal to 4!";
    QTest::newRow("n too many") << "%n:{l2}" << "1:2:3" << Reject
                                << listHead.arg(':') + "Here,the count of the number is less than 2!";
    QTest::newRow("n fewer allowed") << "%n:{l2}" << "1" << Accept << "";
    QTest::newRow("n number high") << "%n.{n0x255}" << "1.256" << Reject
                                   << listHead.arg('.') + "Here,each number is between 0 and 255!";
    QTest::newRow("n number low") << "%n,{n5x9}" << "5,4" << Reject
                                  << listHead.arg(',') + "Here,each number is between 5 and 9!";
    QTest::newRow("n empty number") << "%n.{n0x255}" << "1..2" << Reject
                                    << listHead.arg('.') + "Here,each number is between 0 and 255!";
    QTest::newRow("n trailing delimiter") << "%n.{n0x255}" << "1.2." << Reject
                                          << listHead.arg('.') + "Here,each number is between 0 and 255!";
    QTest::newRow("n fraction ignored") << "%n,{n0x5}" << "5.9,1" << Accept << "";
    QTest::newRow("n default bounds") << "%n," << "0,4294967295" << Accept << "";
    QTest::newRow("n beyond 32 bits") << "%n," << "4294967296" << Reject
                                      << listHead.arg(',') + "Here,each number is between 0 and 4294967295!";
    QTest::newRow("n many digits") << "%n," << QString(60, '9') << Reject
                                   << listHead.arg(',') + "Here,each number is between 0 and 4294967295!";
    QTest::newRow("n negative bound clamps") << "%n,{n-5x3.9}" << "0,3" << Accept << "";
}

void TstConstraintFormat::exit()
{
    QFETCH(QString, format);
    QFETCH(QString, text);
    QFETCH(int, verdict);
    QFETCH(QString, message);

    QString got = "untouched";
    QCOMPARE(int(parseConstraint(format).exitVerdict(text, &got)), verdict);
    if (verdict == int(Verdict::Reject))
        QCOMPARE(got, message);
    else
        QCOMPARE(got, QString("untouched"));
}

void TstConstraintFormat::splitConstraints_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("pieces");

    const QString box = "%i{w30n0x255l3}";
    QTest::newRow("address") << box + box + box + box << QStringList{box, box, box, box};
    QTest::newRow("one") << "%s{l32}" << QStringList{"%s{l32}"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("text kept with piece") << "%i.%i" << QStringList{"%i.", "%i"};
}

void TstConstraintFormat::splitConstraints()
{
    QFETCH(QString, format);
    QFETCH(QStringList, pieces);
    QCOMPARE(::splitConstraints(format), pieces);
}

void TstConstraintFormat::splitRow_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("pieces");  // constraints marked with a leading '#'

    const QString box = "%i{w30n0x255l3}";
    QTest::newRow("address") << box + "." + box + "." + box + "." + box
                             << QStringList{"#" + box, ".", "#" + box, ".", "#" + box, ".", "#" + box};
    QTest::newRow("labels around") << "IP %i{n0x7} of 100%%" << QStringList{"IP ", "#%i{n0x7}", " of 100%"};
    QTest::newRow("percent only") << "%%" << QStringList{"%"};
    QTest::newRow("no braces") << "%i-%s" << QStringList{"#%i", "-", "#%s"};
    QTest::newRow("delimiter is a brace") << "%n}x" << QStringList{"#%n}", "x"};
    QTest::newRow("delimiter then options") << "%n.{l4f}!" << QStringList{"#%n.{l4f}", "!"};
    QTest::newRow("empty") << "" << QStringList{};
}

void TstConstraintFormat::splitRow()
{
    QFETCH(QString, format);
    QFETCH(QStringList, pieces);
    QStringList got;
    for (const KtFormatPiece &p : ::splitRow(format))
        got << (p.isConstraint ? "#" + p.text : p.text);
    QCOMPARE(got, pieces);
}

void TstConstraintFormat::splitRowRejectsBadPiece_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("unclosed") << "A %i{n0x5 B";
    QTest::newRow("bad letter") << "A %z B";
    QTest::newRow("trailing percent") << "A %";
    QTest::newRow("bad option in second") << "%i{n0x5}.%i{q1}";
}

void TstConstraintFormat::splitRowRejectsBadPiece()
{
    QFETCH(QString, format);
    try {
        ::splitRow(format);
        QFAIL("split a bad row");
    } catch (const KtException &e) {
        QCOMPARE(e.code(), -2);
        QCOMPARE(e.message(), BadText);
    }
}

void TstConstraintFormat::formatBound_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1.0 << "1";
    QTest::newRow("4094") << 4094.0 << "4094";
    QTest::newRow("-779") << -779.0 << "-779";
    QTest::newRow("int max") << 2147483647.0 << "2147483647";
    QTest::newRow("uint max") << 4294967295.0 << "4294967295";
    QTest::newRow("fraction") << 2.25 << "2.25";
    QTest::newRow("dbl max") << DBL_MAX << "1.7976931348623157e+308";
    QTest::newRow("dbl min") << DBL_MIN << "2.2250738585072014e-308";
    // Round bounds of the program's formats stay plain integers.
    QTest::newRow("1000000") << 1000000.0 << "1000000";
    QTest::newRow("255000") << 255000.0 << "255000";
    QTest::newRow("-1000000") << -1000000.0 << "-1000000";
    QTest::newRow("1e15") << 1e15 << "1000000000000000";
    QTest::newRow("small fraction") << 0.0001 << "0.0001";
    QTest::newRow("zero") << 0.0 << "0";
}

void TstConstraintFormat::formatBound()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(::formatBound(value), text);
}

void TstConstraintFormat::randomFormats()
{
    // Formats drawn from the language's own characters (plus a few
    // strangers) either parse or raise the one bad-format error, and the
    // checks of whatever parses cope with arbitrary entries.
    const QString alphabet = QString::fromUtf8("%%%{{}}sihufnxlwea0123456789-.;:\u20ac ");
    QRandomGenerator rng(4810);
    auto randomText = [&](int maxLen) {
        QString s;
        const int len = int(rng.bounded(maxLen + 1));
        for (int k = 0; k < len; ++k)
            s += alphabet.at(rng.bounded(int(alphabet.size())));
        return s;
    };

    int parsed = 0;
    for (int n = 0; n < 20000; ++n) {
        QString format = randomText(12);
        if (n % 3 == 0)  // bias towards well-started formats
            format = QString("%") + QString("sihufn").at(rng.bounded(6)) + "{" + format + "}";
        try {
            const KtConstraintFormat f = parseConstraint(format);
            ++parsed;
            QVERIFY(QString("sihufn").contains(QLatin1Char(f.type)));
            QVERIFY(f.maxLength >= 0 && f.width >= 0);
            const QString entry = randomText(10);
            const int rejected = f.firstRejected(entry);
            QVERIFY(rejected >= -1 && rejected < entry.size());
            QString message;
            if (f.exitVerdict(entry, &message) == Verdict::Reject)
                QVERIFY(!message.isEmpty());
        } catch (const KtException &e) {
            QCOMPARE(e.code(), -2);
        }
        try {
            for (const KtFormatPiece &p : ::splitRow(format))
                QVERIFY(!p.text.isEmpty());
        } catch (const KtException &e) {
            QCOMPARE(e.code(), -2);
        }
    }
    // The loop must exercise both outcomes to mean anything.
    QVERIFY(parsed > 100);
    QVERIFY(parsed < 19000);
}

QTEST_GUILESS_MAIN(TstConstraintFormat)
#include "tst_constraintformat.moc"
