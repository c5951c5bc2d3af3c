// Every configuration dialog of the menu, hidden entries included, opened
// one after the other against the simulated agent: its first read must end
// with the get template's success text.

#include "GenericTestSupport.h"

#include "shell/KtMenuRecipe.h"
#include "shell/catalogue/KtMenuCatalogue.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/TConfigForm.h"
#include "errors/KtException.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QtTest>

#include <memory>

class TestMenuAcceptance : public QObject
{
    Q_OBJECT

    AgentSession m_session;

    // Empty when the entry passed, else what went wrong.
    static QString open(const KtMenuEntry &entry, ScriptedMessages &boxes, bool *empty)
    {
        boxes.clear();
        std::unique_ptr<TConfigForm> form;
        try {
            form.reset(KtMenuRecipe::Build(entry, QStringLiteral("127.0.0.1"), nullptr));
        } catch (const KtException &e) {
            return QStringLiteral("not built: ") + e.message();
        }
        if (form->windowTitle() != entry.dialogCaption(QStringLiteral("127.0.0.1")))
            return QStringLiteral("caption ") + form->windowTitle();
        form->show();
        KtSNMPRequest2Edits *binding = form->VisibleBinding();
        if (!binding)
            return QStringLiteral("no visible binding");
        auto *memo = qobject_cast<QPlainTextEdit *>(binding->StatusTarget.data());
        if (!memo)
            return QStringLiteral("no status memo");
        const bool read = QTest::qWaitFor([&] { return !memo->toPlainText().isEmpty() && !binding->Busy; }, 30000);
        const QString line = Generic::LastLine(memo);
        *empty = binding->ResultCount == 0;
        form->reject();
        if (!read)
            return QStringLiteral("first read did not finish: ") + line;
        if (!line.startsWith(QLatin1String("Get: Ok!")))
            return line;
        if (!boxes.texts().isEmpty())
            return QStringLiteral("message boxes: ") + boxes.texts().join(QLatin1String(" | "));
        return {};
    }

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(m_session.start());
    }
    void cleanupTestCase() { m_session.stop(); }

    void everyConfigurationDialogReadsTheAgent()
    {
        const KtMenuCatalogue &catalogue = KtMenuCatalogue::Instance();
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        QElapsedTimer clock;
        clock.start();
        int generic = 0;
        int hidden = 0;
        int empty = 0;
        QStringList failures;
        for (int i = 0; i < catalogue.count(); ++i) {
            const KtMenuEntry &entry = catalogue.at(i);
            if (entry.action() != KtMenuEntry::Generic)
                continue;
            ++generic;
            hidden += entry.hidden() ? 1 : 0;
            bool none = false;
            const QString failure = open(entry, boxes, &none);
            empty += none ? 1 : 0;
            if (!failure.isEmpty())
                failures << QStringLiteral("%1 (line %2): %3").arg(entry.path()).arg(entry.line()).arg(failure);
        }
        qInfo().noquote() << QStringLiteral("%1 of %2 configuration dialogs passed (%3 hidden, %5 read no rows) in %4 s")
                                 .arg(generic - failures.size()).arg(generic).arg(hidden)
                                 .arg(clock.elapsed() / 1000.0, 0, 'f', 1).arg(empty);
        for (const QString &failure : failures)
            qInfo().noquote() << "FAILED" << failure;
        QVERIFY(generic > 200);
        QVERIFY(hidden > 0);
        QVERIFY2(failures.isEmpty(), qPrintable(QStringLiteral("%1 failed").arg(failures.size())));
    }
};

QTEST_MAIN(TestMenuAcceptance)
#include "tst_menuacceptance.moc"
