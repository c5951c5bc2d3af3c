// The rules of the Changes window: copied snmpset commands that never hold
// a secret, CSV that a spreadsheet cannot run, the exit and revert texts.

#include "shell/TChangesFormRules.h"
#include "values/KtTypes.h"

#include "../doctor/ShellWords.h"
#include "errors/KtCatalogue.h"
#include "ledger/KtLedgerRules.h"

#include <QtTest>

namespace {

KtLedgerEntry entry(const QString &label, const QString &type, const QString &value, bool secret = false)
{
    KtLedgerEntry e;
    e.Time = QDateTime(QDate(2024, 5, 1), QTime(10, 15, 2));
    e.Where = QStringLiteral("System > System Information");
    e.Oid = QStringLiteral("1.3.6.1.2.1.1.5.0");
    e.Label = label;
    e.OldKnown = true;
    e.Old = QStringLiteral("old");
    e.New = value;
    e.Type = type;
    e.Value = secret ? QString() : value;
    e.Secret = secret;
    return e;
}

} // namespace

class TestChangesRules : public QObject
{
    Q_OBJECT

private slots:
    void commands_data()
    {
        QTest::addColumn<KtLedgerTarget>("target");
        QTest::addColumn<KtLedgerEntry>("change");
        QTest::addColumn<QStringList>("words");
        KtLedgerTarget v2;
        v2.Port = 16100;
        KtLedgerTarget v1 = v2;
        v1.Version = 0;
        KtLedgerTarget v3;
        v3.Host = QStringLiteral("::1");
        v3.Version = 3;
        v3.SecurityName = QStringLiteral("SHA_DES_User");
        v3.SecurityLevel = 3;
        v3.AuthProtocol = 3;
        v3.PrivProtocol = 2;
        v3.ContextName = QStringLiteral("ctx one");
        const QString oid = QStringLiteral("1.3.6.1.2.1.1.5.0");
        QTest::newRow("v2c text") << v2 << entry("System Name", "s", "it's core")
                                  << QStringList{"snmpset", "-v", "2c", "-c", "<write community>", "127.0.0.1:16100",
                                                 oid, "s", "it's core"};
        QTest::newRow("v1 number") << v1 << entry("Admin", "i", "2")
                                   << QStringList{"snmpset", "-v", "1", "-c", "<write community>", "127.0.0.1:16100",
                                                  oid, "i", "2"};
        QTest::newRow("v3 authPriv, IPv6, context")
            << v3 << entry("System Name", "s", "a")
            << QStringList{"snmpset", "-v", "3", "-u", "SHA_DES_User", "-l", "authPriv", "-a", "SHA", "-A",
                           "<auth pass phrase>", "-x", "DES", "-X", "<priv pass phrase>", "-n", "ctx one",
                           "udp6:[::1]:161", oid, "s", "a"};
        QTest::newRow("secret stays a placeholder")
            << v2 << entry("Member Password", "s", "****", true)
            << QStringList{"snmpset", "-v", "2c", "-c", "<write community>", "127.0.0.1:16100", oid, "s",
                           "<Member Password>"};
    }

    void commands()
    {
        QFETCH(KtLedgerTarget, target);
        QFETCH(KtLedgerEntry, change);
        QFETCH(QStringList, words);
        const QString text = TChangesFormRules::SetCommands({change, change}, target);
        const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(shellWords(lines.first()), words);
    }

    void secretsAreRecognised_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<bool>("secret");
        QTest::newRow("password") << "Member Password" << quint32(KtType::DisplayStr) << true;
        QTest::newRow("key") << "Key" << quint32(KtType::DisplayStr) << true;
        QTest::newRow("key id") << "Key ID" << quint32(KtType::DisplayStr) << false;
        QTest::newRow("community") << "Community Name" << quint32(KtType::OctetStr) << true;
        QTest::newRow("community access, a number") << "Community Access" << quint32(KtType::Integer) << false;
        QTest::newRow("plain name") << "System Name" << quint32(KtType::DisplayStr) << false;
    }

    void secretsAreRecognised()
    {
        QFETCH(QString, label);
        QFETCH(quint32, type);
        QFETCH(bool, secret);
        QCOMPARE(KtLedgerRules::IsSecret(label, type), secret);
    }

    void csv()
    {
        KtLedgerEntry formula = entry("System Name", "s", "=HYPERLINK(\"x\")");
        formula.Old = QStringLiteral("-5");
        KtLedgerEntry unknown = entry("Contact", "s", "a,b");
        unknown.OldKnown = false;
        const QString text = TChangesFormRules::CsvText({formula, unknown, entry("Key", "s", "", true)});
        const QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines, (QStringList{
                            "Time,Where,Object,OID,Old,New",
                            "2024-05-01T10:15:02,System > System Information,System Name,1.3.6.1.2.1.1.5.0,-5,"
                            "\"'=HYPERLINK(\"\"x\"\")\"",
                            "2024-05-01T10:15:02,System > System Information,Contact,1.3.6.1.2.1.1.5.0,(unknown),"
                            "\"a,b\"",
                            "2024-05-01T10:15:02,System > System Information,Key,1.3.6.1.2.1.1.5.0,****,****"}));
    }

    void texts()
    {
        QCOMPARE(TChangesFormRules::ExitText(0), QStringLiteral("Are you sure to exit?"));
        QCOMPARE(TChangesFormRules::ExitText(3),
                 QStringLiteral("Are you sure to exit?\n3 changes are not saved to the switch and will be lost at "
                                "its next restart."));
        QCOMPARE(TChangesFormRules::CountText(2), QStringLiteral("2 unsaved changes"));
        QVERIFY(TChangesFormRules::RevertFailureText(0, {}).isEmpty());
        QVERIFY(TChangesFormRules::RevertFailureText(KtTimeoutCode, {}).contains("kept"));
        QVERIFY(TChangesFormRules::RevertFailureText(-117, "notWritable").contains("notWritable"));
    }

    // A line written is read back the same; a secret's values never reach the file.
    void ledgerLines()
    {
        const KtLedgerEntry plain = entry("System Name", "s", "edge \"7\"");
        KtLedgerEntry back;
        QVERIFY(KtLedgerRules::FromLine(KtLedgerRules::ToLine(plain), back, nullptr));
        QCOMPARE(back.Time, plain.Time);
        QCOMPARE(back.New, plain.New);
        QCOMPARE(back.Value, plain.Value);
        KtLedgerEntry secret = entry("Key", "s", "hunter2");
        secret.Secret = true;
        secret.Old = QStringLiteral("swordfish");
        const QByteArray line = KtLedgerRules::ToLine(secret);
        QVERIFY(!line.contains("hunter2"));
        QVERIFY(!line.contains("swordfish"));
        QString why;
        QVERIFY(!KtLedgerRules::FromLine("[1,2]", back, &why));
        QVERIFY(!why.isEmpty());
    }
};

QTEST_MAIN(TestChangesRules)
#include "tst_changesrules.moc"
