// The scripted message service and the form harness.

#include "support/FormHarness.h"
#include "support/ScriptedMessages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QVBoxLayout>

using Kind = KtMessageService::Kind;

namespace {

// A form as dialogs build them: a box, a combo with a disabled item, a
// check box, a button and a status label.
struct Sample : QWidget
{
    QLineEdit *name = new QLineEdit(QStringLiteral("old"), this);
    QComboBox *mode = new QComboBox(this);
    QCheckBox *flag = new QCheckBox(QStringLiteral("&Flag"), this);
    QPushButton *apply = new QPushButton(QStringLiteral("&Apply"), this);
    QLabel *status = new QLabel(QStringLiteral("ready"), this);
    Qt::FocusReason leftBy = Qt::OtherFocusReason;

    Sample()
    {
        name->setObjectName(QStringLiteral("name"));
        mode->setObjectName(QStringLiteral("mode"));
        mode->addItems({QStringLiteral("auto"), QStringLiteral("off"), QStringLiteral("forced")});
        qobject_cast<QStandardItemModel *>(mode->model())->item(1)->setEnabled(false);
        auto *layout = new QVBoxLayout(this);
        for (QWidget *w : std::initializer_list<QWidget *>{name, mode, flag, apply, status})
            layout->addWidget(w);
        name->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == name && event->type() == QEvent::FocusOut)
            leftBy = static_cast<QFocusEvent *>(event)->reason();
        return QWidget::eventFilter(watched, event);
    }
};

} // namespace

class TestTestSupportWidgets : public QObject
{
    Q_OBJECT

private slots:
    void scriptAnswersInOrder()
    {
        QWidget owner;
        ScriptedMessages messages;
        messages.expectAsk(QStringLiteral("Delete row"), true)
            .expectWarn(QStringLiteral("refused"))
            .expectAsk(QStringLiteral("again"), false);
        QCOMPARE(messages.pending().size(), 3);
        QVERIFY(KtMessageService::Ask(&owner, QStringLiteral("Delete row 4?")));
        KtMessageService::Warn(nullptr, QStringLiteral("The agent refused it."), QStringLiteral("Trust hosts"));
        QVERIFY(!KtMessageService::Ask(&owner, QStringLiteral("Try again?")));
        QVERIFY(messages.pending().isEmpty());
        QVERIFY(messages.problems().isEmpty());
        const QList<ScriptedMessages::Shown> shown = messages.shown();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown.at(0).kind, Kind::Ask);
        QCOMPARE(shown.at(0).owner.data(), &owner);
        QCOMPARE(shown.at(0).caption, KtMessageService::DefaultCaption());
        QCOMPARE(shown.at(1).kind, Kind::Warn);
        QCOMPARE(shown.at(1).caption, QStringLiteral("Trust hosts"));
        QCOMPARE(shown.at(2).text, QStringLiteral("Try again?"));
    }

    void unexpectedMessagesAreProblems_data()
    {
        QTest::addColumn<int>("expectedKind");  // -1: nothing expected
        QTest::addColumn<QString>("expectedText");
        QTest::addColumn<QString>("problem");
        QTest::newRow("nothing expected") << -1 << QString() << "unexpected message: Ask \"Really?\"";
        QTest::newRow("other kind") << int(Kind::Inform) << "Really" << ", expected Inform with \"Really\"";
        QTest::newRow("other text") << int(Kind::Ask) << "Sure" << ", expected Ask with \"Sure\"";
    }
    void unexpectedMessagesAreProblems()
    {
        QFETCH(int, expectedKind);
        QFETCH(QString, expectedText);
        QFETCH(QString, problem);
        ScriptedMessages messages;
        messages.setFailsTest(false);
        if (expectedKind == int(Kind::Inform))
            messages.expectInform(expectedText);
        else if (expectedKind == int(Kind::Ask))
            messages.expectAsk(expectedText, true);
        QVERIFY(!KtMessageService::Ask(nullptr, QStringLiteral("Really?")));  // unexpected: No
        QCOMPARE(messages.problems().size(), 1);
        QVERIFY2(messages.problems().first().contains(problem), qPrintable(messages.problems().first()));
        QCOMPARE(messages.shown().size(), 1);
        QVERIFY(messages.pending().isEmpty());
    }

    // Record-only: queued answers first, then the fallback; nothing fails.
    void recordOnlyKeepsEverything_data()
    {
        QTest::addColumn<bool>("otherwise");
        QTest::addColumn<QList<bool>>("answers");
        QTest::newRow("fallback No") << false << QList<bool>{true, false, false};
        QTest::newRow("fallback Yes") << true << QList<bool>{true, false, true};
    }
    void recordOnlyKeepsEverything()
    {
        QFETCH(bool, otherwise);
        QFETCH(QList<bool>, answers);
        ScriptedMessages messages(ScriptedMessages::RecordOnly{otherwise});
        messages.answer({true, false});
        QList<bool> given;
        KtMessageService::Inform(nullptr, QStringLiteral("first"), QStringLiteral("Info"));
        for (const char *q : {"one?", "two?", "three?"})
            given << KtMessageService::Ask(nullptr, QString::fromLatin1(q));
        KtMessageService::Warn(nullptr, QStringLiteral("last"), QStringLiteral("Warning"));
        QCOMPARE(given, answers);
        QCOMPARE(messages.texts(), (QStringList{"first", "one?", "two?", "three?", "last"}));
        QCOMPARE(messages.captions().first(), QStringLiteral("Info"));
        QCOMPARE(messages.captions().last(), QStringLiteral("Warning"));
        QVERIFY(messages.problems().isEmpty());
        messages.clear();
        QVERIFY(messages.texts().isEmpty());
        QCOMPARE(KtMessageService::Ask(nullptr, QStringLiteral("after clear?")), otherwise);
    }

    // The failures reach the test: expected failures here, so the test passes
    // only when both happen (a missing one turns the next check into XPASS).
    void unexpectedAndUnshownMessagesFailTheTest()
    {
        ScriptedMessages outer;
        {
            ScriptedMessages messages;
            QEXPECT_FAIL("", "an unexpected message fails the test", Continue);
            KtMessageService::Inform(nullptr, QStringLiteral("surprise"));
            QEXPECT_FAIL("", "an expected message never shown fails the test", Continue);
            messages.expectWarn(QStringLiteral("never comes"));
        }
        // The outer one is back in place.
        QCOMPARE(KtMessageService::CurrentBackend(), static_cast<KtMessageService::Backend *>(&outer));
    }

    void typeReplacesAndLeaveRunsTheExitCheck()
    {
        FormHarness form;
        Sample *s = form.build<Sample>();
        QVERIFY(form.show());
        QSignalSpy finished(s->name, &QLineEdit::editingFinished);
        form.type(s->name, QString());
        QCOMPARE(FormHarness::text(s->name), QString());
        form.type(s->name, QStringLiteral("new name"));
        QCOMPARE(FormHarness::text(s->name), QStringLiteral("new name"));
        QVERIFY(s->name->hasFocus());
        QCOMPARE(finished.count(), 0);
        form.leave(s->name);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(s->leftBy, Qt::TabFocusReason);
        QVERIFY(s->mode->hasFocus());  // the next in the tab order
        form.enter(s->name, QStringLiteral("x"), s->apply);
        QVERIFY(s->apply->hasFocus());
        QCOMPARE(finished.count(), 2);
    }

    void pickSelectsLikeTheKeyboard_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("picked");
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("activations");
        QTest::newRow("enabled") << "auto" << true << "auto" << 1;
        QTest::newRow("disabled: Home, then Down skips it") << "off" << false << "forced" << 2;
        QTest::newRow("missing") << "sometimes" << false << "forced" << 0;
    }
    void pickSelectsLikeTheKeyboard()
    {
        QFETCH(QString, item);
        QFETCH(bool, picked);
        QFETCH(QString, current);
        QFETCH(int, activations);
        FormHarness form;
        Sample *s = form.build<Sample>();
        QVERIFY(form.show());
        s->mode->setCurrentIndex(2);
        QSignalSpy activated(s->mode, &QComboBox::activated);
        if (!picked)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^mode")));
        QCOMPARE(form.pick(s->mode, item), picked);
        QCOMPARE(FormHarness::text(s->mode), current);
        QCOMPARE(activated.count(), activations);
    }

    void clickAndReadBack()
    {
        FormHarness form;
        Sample *s = form.build<Sample>();
        QVERIFY(form.show());
        QSignalSpy clicked(s->apply, &QPushButton::clicked);
        form.click(s->flag);
        QVERIFY(s->flag->isChecked());
        form.click(s->flag);
        QVERIFY(!s->flag->isChecked());
        form.click(s->apply);
        QCOMPARE(clicked.count(), 1);
        s->apply->setEnabled(false);
        form.click(s->apply);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(FormHarness::text(s->status), QStringLiteral("ready"));
        QCOMPARE(FormHarness::text(s->flag), QStringLiteral("&Flag"));
        QCOMPARE(form.find<QLineEdit>(QStringLiteral("name")), s->name);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no child \"name\"")));
        QVERIFY(!form.find<QComboBox>(QStringLiteral("name")));
        // A form that deletes itself is not deleted again.
        s->setAttribute(Qt::WA_DeleteOnClose);
        s->close();
        QTRY_VERIFY(!form.form());
    }
};

QTEST_MAIN(TestTestSupportWidgets)
#include "tst_testsupportwidgets.moc"
