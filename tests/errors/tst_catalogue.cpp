#include "errors/KtCatalogue.h"
#include "errors/KtDoctorTexts.h"
#include "errors/KtException.h"

#include <QTemporaryDir>
#include <QTest>

using namespace KtCatalogue;

class TstCatalogue : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString writeFile(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        f.write(content);
        return path;
    }

private slots:
    void cleanup()
    {
        for (int id = 0; id < Count; ++id)
            RestoreBuiltIn(Id(id));
    }

    void builtInSizes()
    {
        QCOMPARE(EntryCount(Common), 16);
        QCOMPARE(EntryCount(Pdu), 18);
        QCOMPARE(EntryCount(SnmpV3), 17);
        QCOMPARE(EntryCount(Usm), 14);
        QCOMPARE(EntryCount(SnmpClass), 23);
        QCOMPARE(EntryCount(Engine), 30);
        QCOMPARE(EntryCount(Templates), KtDoctorTexts::FirstEntry + KtDoctorTexts::Count);
        QCOMPARE(FileName(Engine), QString("ktsnmp.err"));
        QCOMPARE(FileName(Templates), QString("snmp.msg"));
        QCOMPARE(Text(Common, ComListTooMany),
                 QString("Please enter a delimited number string with delimiter '[DELIMITER]'.\n"
                         "Here,the count of the number is less than [MAXCOUNT]!"));
    }

    void engineTextsAreSingleLines()
    {
        for (int n = 0; n < EntryCount(Engine); ++n) {
            QVERIFY2(!Text(Engine, n).contains('\n'), qPrintable(QString::number(n)));
            QVERIFY(!Text(Engine, n).isEmpty());
        }
    }

    void mapping_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << 0 << "Ok!";
        QTest::newRow("1400") << 1400 << 0 << "Ok!";
        QTest::newRow("-1401") << -1401 << 0 << "Ok!";
        QTest::newRow("tooBig") << 1 << -101 << "Response PDU Too Big!";
        QTest::newRow("noSuchName") << 2 << -102 << "Variable does not exist!";
        QTest::newRow("inconsistentName") << 18 << -118 << "Cannot create variable, Inconsistent Name!";
        QTest::newRow("usm 1401") << 1401 << -301 << "error!";
        QTest::newRow("usm unknown user") << 1404 << -304 << "Unknown SecurityName!";
        QTest::newRow("usm auth failure") << 1408 << -308 << "Authentication failure!";
        QTest::newRow("usm priv") << 1413 << -313 << "Unsupported PrivProtocol!";
        QTest::newRow("usm address") << 1414 << -314 << "Address error!";
        QTest::newRow("v3 first") << -1402 << -201 << "Unsupported Security Model!";
        QTest::newRow("v3 window") << -1403 << -202 << "Message not in Time Window!";
        QTest::newRow("v3 last") << -1418 << -217 << "Report sent!";
        QTest::newRow("class -1") << -1 << -401 << "Operation failed!";
        QTest::newRow("timeout") << -5 << -405 << "SNMP request timed out!";
        QTest::newRow("class -23") << -23 << -423 << "Blocked Mode Shutdown!";
        QTest::newRow("19") << 19 << -528 << "Unknown error code!";
        QTest::newRow("1415") << 1415 << -528 << "Unknown error code!";
        QTest::newRow("-24") << -24 << -528 << "Unknown error code!";
        QTest::newRow("-1419") << -1419 << -528 << "Unknown error code!";
        QTest::newRow("1399") << 1399 << -528 << "Unknown error code!";
    }

    void mapping()
    {
        QFETCH(int, status);
        QFETCH(int, code);
        QFETCH(QString, text);
        const KtStatusError e = StatusToError(status);
        QCOMPARE(e.code, code);
        QCOMPARE(e.text, text);
    }

    void loadSkipsBlankLinesAndKeepsBlanks()
    {
        const QString path = writeFile("snmp.err", "first\n\n   \n  padded text  \r\n\t\nthird");
        QVERIFY(LoadCatalogue(Pdu, path));
        QCOMPARE(EntryCount(Pdu), 3);
        QCOMPARE(Text(Pdu, 0), QString("first"));
        QCOMPARE(Text(Pdu, 1), QString("  padded text  "));
        QCOMPARE(Text(Pdu, 2), QString("third"));
        // Status 2 now maps to the loaded second line.
        QCOMPARE(StatusToError(2).text, QString("  padded text  "));
    }

    void shortFileFallsBackToUnknown()
    {
        QVERIFY(LoadCatalogue(Pdu, writeFile("short.err", "only one\n")));
        QCOMPARE(StatusToError(1).text, QString("only one"));
        const KtStatusError e = StatusToError(18);
        QCOMPARE(e.code, -118);
        QCOMPARE(e.text, QString("Unknown error code!"));
        QCOMPARE(Text(Pdu, -1), QString("Unknown error code!"));
        // A short engine file too: the fallback is still a text, never a read past the table.
        QVERIFY(LoadCatalogue(Engine, writeFile("ktsnmp.err", "Fine!\n")));
        QCOMPARE(Text(Engine, 11), QString("Unknown error code!"));
        QCOMPARE(StatusToError(0).text, QString("Fine!"));
    }

    void longLinesGiveSeveralEntries()
    {
        QByteArray longLine(1023 * 2 + 10, 'x');
        longLine[0] = 'a';
        longLine[1023] = 'b';
        longLine[2046] = 'c';
        QVERIFY(LoadCatalogue(Common, writeFile("common.err", longLine + "\nnext\n")));
        QCOMPARE(EntryCount(Common), 4);
        QCOMPARE(Text(Common, 0).size(), 1023);
        QVERIFY(Text(Common, 0).startsWith('a'));
        QVERIFY(Text(Common, 1).startsWith('b'));
        QCOMPARE(Text(Common, 2), QString("c") + QString(9, 'x'));
        QCOMPARE(Text(Common, 3), QString("next"));
    }

    void longLinesSplitBetweenCharacters()
    {
        // Pieces count characters, so a piece never ends inside one.
        const QByteArray eAcute("\xc3\xa9");
        const QByteArray line = QByteArray(1022, 'x') + eAcute + "yy";
        QVERIFY(LoadCatalogue(Common, writeFile("common.err", line + "\r\n" + eAcute.repeated(1030) + "\n")));
        QCOMPARE(EntryCount(Common), 4);
        QCOMPARE(Text(Common, 0), QString(1022, 'x') + QChar(0xE9));
        QCOMPARE(Text(Common, 1), QString("yy"));
        QCOMPARE(Text(Common, 2), QString(1023, QChar(0xE9)));
        QCOMPARE(Text(Common, 3), QString(7, QChar(0xE9)));
        // A character outside the basic plane is one character, not cut in two.
        const QByteArray clef("\xf0\x9d\x84\x9e");
        QVERIFY(LoadCatalogue(Pdu, writeFile("snmp.err", QByteArray(1022, 'x') + clef + "z\n")));
        QCOMPARE(EntryCount(Pdu), 2);
        QCOMPARE(Text(Pdu, 0), QString(1022, 'x') + QString::fromUtf8(clef));
        QCOMPARE(Text(Pdu, 1), QString("z"));
    }

    // Each line is read as UTF-8 when it is valid UTF-8, else as Latin-1.
    void linesInEitherEncoding_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("entries");
        const QString umlaut = QStringLiteral("Ung\u00fcltiger Wert!");
        QTest::newRow("Latin-1") << QByteArray("Ung\xfcltiger Wert!\n") << QStringList{umlaut};
        QTest::newRow("UTF-8") << QByteArray("Ung\xc3\xbcltiger Wert!\n") << QStringList{umlaut};
        QTest::newRow("mixed lines") << QByteArray("Ung\xc3\xbcltiger Wert!\nD\xe9j\xe0 vu \xa9\n")
                                     << QStringList{umlaut, QStringLiteral("D\u00e9j\u00e0 vu \u00a9")};
        QTest::newRow("cut UTF-8 sequence") << QByteArray("end \xc3\n") << QStringList{QStringLiteral("end \u00c3")};
    }
    void linesInEitherEncoding()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, entries);
        QVERIFY(LoadCatalogue(Pdu, writeFile("snmp.err", file)));
        QCOMPARE(EntryCount(Pdu), entries.size());
        for (int n = 0; n < entries.size(); ++n)
            QCOMPARE(Text(Pdu, n), entries.at(n));
    }

    void missingOrEmptyFileKeepsTable()
    {
        QVERIFY(!LoadCatalogue(SnmpClass, m_dir.filePath("absent.err")));
        QVERIFY(!LoadCatalogue(SnmpClass, writeFile("empty.err", "")));
        QVERIFY(!LoadCatalogue(SnmpClass, writeFile("blank.err", "  \n\n \t \n")));
        QCOMPARE(EntryCount(SnmpClass), 23);
        QCOMPARE(StatusToError(-5).text, QString("SNMP request timed out!"));
    }

    void loadAllReadsTheFolder()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath("snmp.msg"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("G [ERROR]\nS [ERROR]\n");
        f.close();
        LoadAll(dir.path());
        QCOMPARE(Text(Templates, 1), QString("S [ERROR]"));
        QCOMPARE(EntryCount(Engine), 30);
    }

    // The connection test's sentences follow the two templates in "snmp.msg":
    // a site's file replaces them line by line, and one written before they
    // existed leaves them as they are built in.
    void connectionTestSentencesFollowTheTemplates()
    {
        namespace D = KtDoctorTexts;
        QVERIFY(LoadCatalogue(Templates, writeFile("old.msg", "G [ERROR]\nS [ERROR]\n")));
        QCOMPARE(D::Text(D::PortSilent), D::BuiltIn().at(D::PortSilent));
        QStringList lines = BuiltIn(Templates);
        lines[D::FirstEntry + D::PortSilent] = QStringLiteral("Port [PORT] says nothing.");
        QVERIFY(LoadCatalogue(Templates, writeFile("new.msg", lines.join('\n').toUtf8())));
        QCOMPARE(D::Text(D::PortSilent), QString("Port [PORT] says nothing."));
        QCOMPARE(D::Text(D::PortRefused), D::BuiltIn().at(D::PortRefused));
        QCOMPARE(Text(Templates, 0), QString("Get: [ERROR] Request:[VARLIST]. Receive at [TIME]."));
    }

    void exceptionCarriesCodeAndText()
    {
        try {
            KtThrowEngine(EngBadSyntax);
            QFAIL("no exception");
        } catch (const KtException &e) {
            QCOMPARE(e.code(), -511);
            QCOMPARE(e.message(), QString("Bad SNMP syntax!"));
            QCOMPARE(QString(e.what()), QString("Bad SNMP syntax!"));
        }
    }
};

QTEST_GUILESS_MAIN(TstCatalogue)
#include "tst_catalogue.moc"
