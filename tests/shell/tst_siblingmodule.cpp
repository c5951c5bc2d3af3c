// Command lines of the sibling module programs and their start; the
// failure to start one is covered with the main window's menu.

#include "shell/KtDisplaySettings.h"
#include "shell/KtSiblingModule.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

KtDisplaySettings settings(const QString &version)
{
    KtDisplaySettings s;
    s.Version = version;
    s.ReadCommunity = QStringLiteral("read me");
    s.WriteCommunity = QStringLiteral("wr\"ite");
    s.Port = QStringLiteral("1161");
    s.ContextEngineID = QStringLiteral("80001f8880");
    s.SecurityModel = QStringLiteral("3");
    s.SecurityName = QStringLiteral("SHA_DES_User");
    s.SecurityLevel = QStringLiteral("3");
    s.AuthProtocol = QStringLiteral("3");
    s.PrivProtocol = QStringLiteral("2");
    s.AuthPassword = QStringLiteral("auth phrase");
    s.PrivPassword = QStringLiteral("priv'phrase");
    s.ContextName = QString();
    return s;
}

// A sibling that writes each argument it got on a line of its own.
QString fakeModule(const QTemporaryDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        return {};
    script.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1.args.tmp'\n"
                                "mv '%1.args.tmp' '%1.args'\n")
                     .arg(path)
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace

class TestSiblingModule : public QObject
{
    Q_OBJECT

private slots:
    void commandLines_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("module");
        QTest::addColumn<QStringList>("arguments");
        const QStringList community{"/I10.1.2.3", "/Rread me", "/Wwr\"ite"};
        QTest::newRow("v1") << "0" << "/TRmon_History" << "Rmon" << community + QStringList{"/TRmon_History"};
        QTest::newRow("v2c") << "1" << "/TEthernetLike_dot3StatsTable" << "EthernetLike"
                             << community + QStringList{"/TEthernetLike_dot3StatsTable"};
        QTest::newRow("v3") << "3" << "/TLayer3_OSPF" << "Layer3"
                            << QStringList{"/I10.1.2.3", "/t1161", "/v3", "/d80001f8880", "/m3", "/nSHA_DES_User",
                                           "/l3", "/a3", "/p2", "/Aauth phrase", "/Ppriv'phrase", "/c",
                                           "/TLayer3_OSPF"};
        QTest::newRow("no module") << "1" << "/Xfoo" << "" << community + QStringList{"/Xfoo"};
    }
    void commandLines()
    {
        QFETCH(QString, version);
        QFETCH(QString, argument);
        QFETCH(QString, module);
        QFETCH(QStringList, arguments);
        const KtSiblingCommand c = KtSiblingModule::CommandLine(argument, QStringLiteral("10.1.2.3"), settings(version));
        QCOMPARE(c.Module, module);
        QCOMPARE(c.Arguments, arguments);
        // The text form: the module, the switches, a blank and the empty extra text.
        QCOMPARE(c.Text, module + ' ' + arguments.join(' ') + ' ');
        QVERIFY(c.Text.endsWith(argument + ' '));
        const bool v3 = version == QLatin1String("3");
        QCOMPARE(c.Text.contains(" /R") || c.Text.contains(" /W"), !v3);
        for (const char *option : {" /t", " /v", " /d", " /m", " /n", " /l", " /a", " /p", " /A", " /P", " /c"})
            QVERIFY2(c.Text.contains(QLatin1String(option)) == v3, option);
    }

    void startsBesideUsWithEachArgumentWhole()
    {
        QTemporaryDir dir;
        const QString program = fakeModule(dir, QStringLiteral("Rmon"));
        QVERIFY(!program.isEmpty());
        QCOMPARE(KtSiblingModule::Locate(QStringLiteral("Rmon"), dir.path()), program);
        const KtSiblingCommand c =
            KtSiblingModule::CommandLine(QStringLiteral("/TRmon_Statistics"), QStringLiteral("::1"), settings("3"));
        QString reason;
        QVERIFY2(KtSiblingModule::Start(c, dir.path(), &reason), qPrintable(reason));
        QFile args(program + QLatin1String(".args"));
        QTRY_VERIFY_WITH_TIMEOUT(args.exists(), 20000);
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(args.readAll()).split('\n', Qt::SkipEmptyParts),
                 c.Arguments);
    }
};

QTEST_GUILESS_MAIN(TestSiblingModule)
#include "tst_siblingmodule.moc"
