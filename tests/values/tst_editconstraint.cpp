#include "support/QueuedWork.h"

#include "errors/KtException.h"
#include "values/widgets/KtEditConstraint.h"

#include <QApplication>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

static const QString BadText = QStringLiteral("Bad format specifier of edit's constraint!");
static const QString AddressBox = QStringLiteral("%i{w30n0x255l3}");

// A window with three boxes and a button, shown and active so that focus
// changes deliver FocusIn/FocusOut, and a constraint whose message boxes
// and beeps are recorded instead of shown.
struct Form
{
    QWidget window;
    QLineEdit *a;
    QLineEdit *b;
    QLineEdit *c;
    QPushButton *button;
    std::unique_ptr<KtEditConstraint> constraint;
    QStringList messages;
    QList<QWidget *> owners;
    int beeps = 0;

    explicit Form(bool rememberText = true)
    {
        auto *layout = new QVBoxLayout(&window);
        a = new QLineEdit(&window);
        b = new QLineEdit(&window);
        c = new QLineEdit(&window);
        button = new QPushButton("OK", &window);
        a->setObjectName("a");
        b->setObjectName("b");
        c->setObjectName("c");
        for (QWidget *w : {static_cast<QWidget *>(a), static_cast<QWidget *>(b),
                           static_cast<QWidget *>(c), static_cast<QWidget *>(button)})
            layout->addWidget(w);
        constraint = std::make_unique<KtEditConstraint>(&window, rememberText);
        hook(*constraint);
    }

    void hook(KtEditConstraint &k)
    {
        k.SetMessageHook([this](QWidget *owner, const QString &text) {
            owners << owner;
            messages << text;
        });
        k.SetBeepHook([this] { ++beeps; });
    }

    bool activate()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
    }

    // Enters text into box from scratch and leaves it for the button.
    void enterAndLeave(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->clear();
        QTest::keyClicks(box, text);
        button->setFocus();
    }
};

// Records FocusOut events of a box, next to the constraint's own filter.
class FocusOutCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

class TstEditConstraint : public QObject
{
    Q_OBJECT

private slots:
    void typing_data();
    void typing();
    void typingLongPaste();
    void typingKeepsCursor();

    void exitRejects_data();
    void exitRejects();
    void exitAcceptsAndRemembers_data();
    void exitAcceptsAndRemembers();
    void rememberTextOff();
    void requiredEmptyDoesNotBounce();
    void focusOutReasons_data();
    void focusOutReasons();
    void menuBarByKeyboard();
    void placeholdersUntouched_data();
    void placeholdersUntouched();
    void programTextsKeepTheirLength_data();
    void programTextsKeepTheirLength();
    void lengthLimitChainsForeignValidator();

    void advanceOnLength();
    void advanceSkipsDisabled();
    void programTextKeepsFocus();
    void exitCharacter();

    void changeHandlerChain();
    void handlersDeletingTheConstraint();
    void exitHandlerVeto();
    void handlerDetachingItsBox();

    void foreignListenersSurviveDetach();
    void attachBadFormat_data();
    void attachBadFormat();
    void attachTwiceReplaces();
    void attachAllAddress();
    void attachAllAllOrNothing_data();
    void attachAllAllOrNothing();

    void buildInPanel();
    void buildInPanelGroupBox();
    void buildInPanelBadFormat();

    void boxDestroyedWhileAttached();
    void constraintDestroyed();
    void setOwner();
    void defaultMessageBox();
};

void TstEditConstraint::typing_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("beeps");

    QTest::newRow("letter after digits") << "%i{n1x4094}" << "12a" << "12" << 1;
    QTest::newRow("minus only first") << "%i{n-779x839}" << "-7-8" << "-78" << 1;
    QTest::newRow("u refuses minus") << "%u{n0x65535l5}" << "-12" << "12" << 1;
    QTest::newRow("one character box") << "%i{n0x7l1}" << "78" << "7" << 0;
    QTest::newRow("hex") << "%h{l8}" << "0aFg" << "0aF" << 1;
    QTest::newRow("float second dot") << "%f" << "-1.5.2" << "-1.52" << 1;
    QTest::newRow("delimiter twice") << "%n.{l4}" << "1..2" << "1.2" << 1;
    QTest::newRow("delimiter first") << "%n." << ".1" << "1" << 1;
    QTest::newRow("string of 32") << "%s{l32}" << "Any text, 32 characters long..!?"
                                  << "Any text, 32 characters long..!?" << 0;
    QTest::newRow("string capped") << "%s{l32}" << QString(40, 'q') << QString(32, 'q') << 0;
    QTest::newRow("address box") << AddressBox << "2x5y5z" << "255" << 2;
}

void TstEditConstraint::typing()
{
    QFETCH(QString, format);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(int, beeps);

    Form f;
    f.constraint->Attach(format, f.a);
    QTest::keyClicks(f.a, keys);
    QCOMPARE(f.a->text(), text);
    QCOMPARE(f.beeps, beeps);
    QVERIFY(f.messages.isEmpty());
}

void TstEditConstraint::typingLongPaste()
{
    // A long paste is cleaned in one change, with one beep, and foreign
    // listeners see the pasted and the cleaned text only.
    Form f;
    QStringList seen;
    connect(f.a, &QLineEdit::textChanged, f.a, [&](const QString &t) { seen << t.left(3); });
    f.constraint->Attach("%i", f.a);
    f.a->setText(QString(20000, 'x') + "-7" + QString(100, '-') + "8");
    QCOMPARE(f.a->text(), QString("-78"));
    QCOMPARE(f.beeps, 1);
    QCOMPARE(seen, (QStringList{"xxx", "-78"}));
}

void TstEditConstraint::typingKeepsCursor()
{
    Form f;
    f.constraint->Attach("%i", f.a);
    QTest::keyClicks(f.a, "123");
    f.a->setCursorPosition(1);
    QTest::keyClicks(f.a, "x");
    QCOMPARE(f.a->text(), QString("123"));
    QCOMPARE(f.a->cursorPosition(), 1);
    QTest::keyClicks(f.a, "9");
    QCOMPARE(f.a->text(), QString("1923"));
}

void TstEditConstraint::exitRejects_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("good");
    QTest::addColumn<QString>("bad");
    QTest::addColumn<QString>("message");

    const QString range = "Please enter a number between %1 and %2!";
    QTest::newRow("below 1") << "%i{n1x4094}" << "4094" << "0" << range.arg("1", "4094");
    QTest::newRow("below -779") << "%i{n-779x839}" << "-779" << "-780" << range.arg("-779", "839");
    QTest::newRow("minus alone") << "%i{n-779x839}" << "-5" << "-" << range.arg("-779", "839");
    QTest::newRow("one digit") << "%i{n0x7l1}" << "7" << "8" << range.arg("0", "7");
    QTest::newRow("u above") << "%u{n0x65535l5}" << "65535" << "70000" << range.arg("0", "65535");
    QTest::newRow("ten digits") << "%i{n0x2147483647l10}" << "2147483647" << "2147483648"
                                << range.arg("0", "2147483647");
    QTest::newRow("address box") << AddressBox << "0" << "256" << range.arg("0", "255");
    QTest::newRow("exact length") << "%s{l4f}" << "abcd" << "abc" << "Please enter a string whose length is 4!";
    QTest::newRow("hex exact length") << "%h{l2f}" << "0f" << "f"
                                      << "Please enter a hex string whose length is 2!";
    QTest::newRow("list count") << "%n.{l4f}" << "1.2.3.4" << "1.2.3"
                                << "Please enter a delimited number string with delimiter '.'.\n"
                                   "Here,the count of the number is equal to 4!";
    QTest::newRow("required") << "%s{l8n}" << "x" << "" << QString::fromLatin1(KtRequiredEntryText);
}

void TstEditConstraint::exitRejects()
{
    QFETCH(QString, format);
    QFETCH(QString, good);
    QFETCH(QString, bad);
    QFETCH(QString, message);

    Form f;
    f.constraint->Attach(format, f.a);
    QVERIFY(f.activate());

    f.enterAndLeave(f.a, good);
    QCOMPARE(f.messages, QStringList());
    QCOMPARE(f.constraint->LastGoodText(f.a), good);

    f.enterAndLeave(f.a, bad);
    QCOMPARE(f.messages, QStringList{message});
    QCOMPARE(f.owners, QList<QWidget *>{&f.window});
    QCOMPARE(f.a->text(), good);
    QTRY_VERIFY(f.a->hasFocus());
    // The button that lost the focus back to the box is not checked, and
    // nothing bounces.
    QVERIFY(TestSupport::queuedWorkDone());
    QCOMPARE(f.messages.size(), 1);
}

void TstEditConstraint::exitAcceptsAndRemembers_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");

    QTest::newRow("32 characters") << "%s{l32}" << QString(32, 'z');
    QTest::newRow("list") << "%n.{n0x255l4f}" << "10.0.0.1";
}

void TstEditConstraint::exitAcceptsAndRemembers()
{
    QFETCH(QString, format);
    QFETCH(QString, text);

    Form f;
    f.constraint->Attach(format, f.a);
    QVERIFY(f.activate());
    f.enterAndLeave(f.a, text);
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(f.constraint->LastGoodText(f.a), text);
    QVERIFY(f.button->hasFocus());

    // An optional box left empty is accepted and stores nothing.
    f.enterAndLeave(f.a, QString());
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(f.a->text(), QString());
    QCOMPARE(f.constraint->LastGoodText(f.a), text);
}

void TstEditConstraint::rememberTextOff()
{
    Form f(false);
    f.constraint->Attach("%i{n1x9}", f.a);
    QVERIFY(f.activate());
    f.enterAndLeave(f.a, "5");
    QCOMPARE(f.constraint->LastGoodText(f.a), QString());
    f.enterAndLeave(f.a, "0");
    QCOMPARE(f.a->text(), QString());

    f.a->setText("3");
    f.constraint->RememberText(f.a);
    QCOMPARE(f.constraint->LastGoodText(f.a), QString("3"));
    f.enterAndLeave(f.a, "0");
    QCOMPARE(f.messages.size(), 2);
    QCOMPARE(f.a->text(), QString("3"));
}

void TstEditConstraint::requiredEmptyDoesNotBounce()
{
    // Two required boxes, both empty: leaving the first for the second must
    // not have the second complain when the focus is handed back.
    Form f;
    f.constraint->Attach("%s{l8n}", f.a);
    f.constraint->Attach("%s{l8n}", f.b);
    QVERIFY(f.activate());
    f.a->setFocus();
    f.b->setFocus();
    QCOMPARE(f.messages, QStringList{QString::fromLatin1(KtRequiredEntryText)});
    QTRY_VERIFY(f.a->hasFocus());
    QVERIFY(TestSupport::queuedWorkDone());
    QCOMPARE(f.messages.size(), 1);
    QVERIFY(f.a->hasFocus());
}

void TstEditConstraint::focusOutReasons_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("checked");

    QTest::newRow("tab") << int(Qt::TabFocusReason) << true;
    QTest::newRow("mouse") << int(Qt::MouseFocusReason) << true;
    QTest::newRow("other") << int(Qt::OtherFocusReason) << true;
    QTest::newRow("window switch") << int(Qt::ActiveWindowFocusReason) << false;
    QTest::newRow("popup") << int(Qt::PopupFocusReason) << false;
    QTest::newRow("menu bar by keyboard") << int(Qt::MenuBarFocusReason) << false;
}

void TstEditConstraint::focusOutReasons()
{
    QFETCH(int, reason);
    QFETCH(bool, checked);

    Form f;
    f.constraint->Attach("%i{n1x9}", f.a);
    f.a->setText("0");
    QFocusEvent out(QEvent::FocusOut, Qt::FocusReason(reason));
    QApplication::sendEvent(f.a, &out);
    QCOMPARE(f.messages.size(), checked ? 1 : 0);
    QCOMPARE(f.a->text(), checked ? QString() : QString("0"));
}

void TstEditConstraint::menuBarByKeyboard()
{
    // Alt hands the focus to the menu bar and Escape gives it back: the
    // entry was never left, so it is neither judged nor reset.
    Form f;
    auto *bar = new QMenuBar(&f.window);
    bar->addMenu("&File")->addAction("Exit");
    f.window.layout()->setMenuBar(bar);
    f.constraint->Attach("%i{n1x9}", f.a);
    QVERIFY(f.activate());
    f.a->setFocus();
    QTest::keyClicks(f.a, "0");
    QTest::keyPress(f.a, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(f.a, Qt::Key_Alt);
    QCOMPARE(QApplication::focusWidget(), bar);
    QTest::keyClick(bar, Qt::Key_Escape);
    QTRY_COMPARE(QApplication::focusWidget(), f.a);
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(f.a->text(), QString("0"));
}

void TstEditConstraint::placeholdersUntouched_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("null") << "(NULL)";
    QTest::newRow("notdone") << "(NOTDONE)";
}

void TstEditConstraint::placeholdersUntouched()
{
    QFETCH(QString, text);

    Form f;
    f.constraint->Attach("%i{n1x4094l4n}", f.a);
    int changes = 0, exits = 0;
    f.constraint->SetChangeHandler(f.a, [&](QLineEdit *) { return ++changes, true; });
    f.constraint->SetExitHandler(f.a, [&](QLineEdit *) { return ++exits, true; });
    QVERIFY(f.activate());

    f.a->setFocus();
    f.a->setText(text);
    f.button->setFocus();
    QCOMPARE(f.a->text(), text);
    QCOMPARE(f.beeps, 0);
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(changes, 0);
    QCOMPARE(exits, 0);
    QCOMPARE(f.constraint->LastGoodText(f.a), QString());
}

void TstEditConstraint::programTextsKeepTheirLength_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");  // on leaving the box, empty if accepted

    QTest::newRow("null in one digit box") << "%i{n0x7l1}" << "(NULL)" << "";
    QTest::newRow("notdone in address box") << AddressBox << "(NOTDONE)" << "";
    QTest::newRow("value longer than the box")
        << "%s{l12}" << "switch-core-floor-3" << "Please enter a string whose length is less than 12!";
}

void TstEditConstraint::programTextsKeepTheirLength()
{
    // The length limit is for typing: texts put in by the program (read
    // values, placeholders) are shown whole, and only the exit check
    // judges them, whether set before or after attaching.
    QFETCH(QString, format);
    QFETCH(QString, text);
    QFETCH(QString, message);

    Form f;
    f.b->setText(text);
    f.constraint->Attach(format, f.a);
    f.constraint->Attach(format, f.b);
    f.a->setText(text);
    QCOMPARE(f.a->text(), text);
    QCOMPARE(f.b->text(), text);
    QCOMPARE(f.beeps, 0);

    QVERIFY(f.activate());
    f.a->setFocus();
    f.button->setFocus();
    QCOMPARE(f.messages, message.isEmpty() ? QStringList() : QStringList{message});

    // Typing from scratch is still held to the limit.
    const int limit = f.constraint->Format(f.b)->maxLength;
    f.b->setFocus();
    f.b->selectAll();
    QTest::keyClicks(f.b, QString(limit + 3, '1'));
    QCOMPARE(f.b->text(), QString(limit, '1'));
}

void TstEditConstraint::lengthLimitChainsForeignValidator()
{
    Form f;
    QRegularExpressionValidator letters(QRegularExpression("[a-c]*"));
    f.a->setValidator(&letters);
    f.constraint->Attach("%s{l2}", f.a);
    QTest::keyClicks(f.a, "axbc");
    QCOMPARE(f.a->text(), QString("ab"));

    f.constraint->Detach(f.a);
    QCOMPARE(f.a->validator(), &letters);
    QTest::keyClicks(f.a, "cxa");
    QCOMPARE(f.a->text(), QString("abca"));

    // Destroying the constraint also leaves the box as it found it.
    f.constraint->Attach("%s{l2}", f.b);
    f.constraint.reset();
    QVERIFY(!f.b->validator());
    QTest::keyClicks(f.b, "1234");
    QCOMPARE(f.b->text(), QString("1234"));
}

void TstEditConstraint::advanceOnLength()
{
    Form f;
    f.constraint->Attach("%i{n1x32l2a}", f.a);
    QVERIFY(f.activate());
    f.a->setFocus();
    QTest::keyClicks(f.a, "1");
    QVERIFY(f.a->hasFocus());
    QTest::keyClicks(f.a, "2");
    QVERIFY(f.b->hasFocus());
    QCOMPARE(f.a->text(), QString("12"));
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(f.constraint->LastGoodText(f.a), QString("12"));

    // Reaching the length with a value out of range: the advance leaves
    // the box, whose exit check rejects it and takes the focus back.
    f.a->setFocus();
    f.a->clear();
    QTest::keyClicks(f.a, "40");
    QCOMPARE(f.messages.size(), 1);
    QCOMPARE(f.a->text(), QString("12"));
    QTRY_VERIFY(f.a->hasFocus());
}

void TstEditConstraint::advanceSkipsDisabled()
{
    Form f;
    f.constraint->Attach("%i{n1x32l2a}", f.a);
    f.b->setEnabled(false);
    QVERIFY(f.activate());
    f.a->setFocus();
    QTest::keyClicks(f.a, "12");
    QVERIFY(f.c->hasFocus());
}

void TstEditConstraint::programTextKeepsFocus()
{
    // Filling boxes from read values must not move the user's focus.
    Form f;
    f.constraint->Attach("%i{n1x32l2a}", f.a);
    f.constraint->Attach("%s{e;l8}", f.b);
    QVERIFY(f.activate());
    f.c->setFocus();
    f.a->setText("12");
    QVERIFY(f.c->hasFocus());
    f.b->setText("x;y");
    QVERIFY(f.c->hasFocus());
    QCOMPARE(f.a->text(), QString("12"));
    QCOMPARE(f.b->text(), QString("xy"));
}

void TstEditConstraint::exitCharacter()
{
    Form f;
    f.constraint->Attach("%s{e;l8}", f.a);
    QVERIFY(f.activate());
    f.a->setFocus();
    QTest::keyClicks(f.a, "ab;");
    QCOMPARE(f.a->text(), QString("ab"));
    QVERIFY(f.b->hasFocus());
    QCOMPARE(f.beeps, 0);
    QCOMPARE(f.constraint->LastGoodText(f.a), QString("ab"));
}

void TstEditConstraint::changeHandlerChain()
{
    Form f;
    f.constraint->Attach("%i{n1x32l2a}", f.a);
    QStringList seen;
    bool goOn = true;
    f.constraint->SetChangeHandler(f.a, [&](QLineEdit *e) { return seen << e->text(), goOn; });
    QVERIFY(f.activate());
    f.a->setFocus();
    QTest::keyClicks(f.a, "1a2");
    QCOMPARE(seen, (QStringList{"1", "1", "12"}));
    QVERIFY(f.b->hasFocus());

    // A handler returning false stops the check before the advance.
    goOn = false;
    f.a->setFocus();
    f.a->clear();
    QTest::keyClicks(f.a, "13");
    QCOMPARE(seen.last(), QString("13"));
    QVERIFY(f.a->hasFocus());
}

void TstEditConstraint::handlersDeletingTheConstraint()
{
    Form f;
    f.constraint->Attach("%i{n1x9}", f.a);
    f.constraint->SetChangeHandler(f.a, [&](QLineEdit *) { return f.constraint.reset(), true; });
    QTest::keyClicks(f.a, "5");
    QVERIFY(!f.constraint);
    QTest::keyClicks(f.a, "x");
    QCOMPARE(f.a->text(), QString("5x"));

    f.constraint = std::make_unique<KtEditConstraint>(&f.window, true);
    f.hook(*f.constraint);
    f.constraint->Attach("%i{n1x9}", f.b);
    f.constraint->SetExitHandler(f.b, [&](QLineEdit *) { return f.constraint.reset(), false; });
    QVERIFY(f.activate());
    f.enterAndLeave(f.b, "3");
    QVERIFY(!f.constraint);
    QCOMPARE(f.b->text(), QString("3"));

    // The message hook closing everything while a rejection is shown.
    f.constraint = std::make_unique<KtEditConstraint>(&f.window, true);
    f.constraint->SetMessageHook([&](QWidget *, const QString &) { f.constraint.reset(); });
    f.constraint->Attach("%i{n1x9}", f.c);
    f.enterAndLeave(f.c, "0");
    QVERIFY(!f.constraint);
    QVERIFY(TestSupport::queuedWorkDone());
    QCOMPARE(f.c->text(), QString("0"));
}

void TstEditConstraint::exitHandlerVeto()
{
    Form f;
    f.constraint->Attach("%i{n1x9}", f.a);
    bool allow = true;
    QStringList seen;
    f.constraint->SetExitHandler(f.a, [&](QLineEdit *e) { return seen << e->text(), allow; });
    QVERIFY(f.activate());

    f.enterAndLeave(f.a, "4");
    QCOMPARE(f.constraint->LastGoodText(f.a), QString("4"));
    allow = false;
    f.enterAndLeave(f.a, "6");
    QCOMPARE(f.a->text(), QString("4"));
    QCOMPARE(f.constraint->LastGoodText(f.a), QString("4"));
    // A rejected entry never reaches the handler.
    f.enterAndLeave(f.a, "0");
    QCOMPARE(seen, (QStringList{"4", "6"}));
    QCOMPARE(f.messages.size(), 1);
}

void TstEditConstraint::handlerDetachingItsBox()
{
    Form f;
    f.constraint->Attach("%i{n1x99l2a}", f.a);
    f.constraint->SetChangeHandler(f.a, [&](QLineEdit *e) {
        f.constraint->Detach(e);
        return true;
    });
    QVERIFY(f.activate());
    f.a->setFocus();
    QTest::keyClicks(f.a, "5");
    QVERIFY(!f.constraint->IsAttached(f.a));
    QVERIFY(f.a->hasFocus());
    QTest::keyClicks(f.a, "x");
    QCOMPARE(f.a->text(), QString("5x"));
}

void TstEditConstraint::foreignListenersSurviveDetach()
{
    Form f;
    QStringList foreign;
    connect(f.a, &QLineEdit::textChanged, f.a, [&](const QString &t) { foreign << t; });
    FocusOutCounter outs;
    f.a->installEventFilter(&outs);

    f.constraint->Attach("%i{n1x5}", f.a);
    QVERIFY(f.activate());
    f.a->setFocus();
    QTest::keyClicks(f.a, "1x");
    QCOMPARE(foreign, (QStringList{"1", "1x", "1"}));
    f.a->setText("9");
    f.button->setFocus();
    QCOMPARE(f.messages.size(), 1);
    QCOMPARE(outs.count, 1);

    f.constraint->Detach(f.a);
    QVERIFY(!f.constraint->IsAttached(f.a));
    foreign.clear();
    const int beeps = f.beeps;
    f.a->setFocus();
    QTest::keyClicks(f.a, "9y");
    f.button->setFocus();
    QCOMPARE(f.a->text(), QString("9y"));
    QCOMPARE(foreign, (QStringList{"9", "9y"}));
    QCOMPARE(f.beeps, beeps);
    QCOMPARE(f.messages.size(), 1);
    QVERIFY(TestSupport::queuedWorkDone());
    QCOMPARE(outs.count, 2);  // our filter went, the foreign one stayed
}

void TstEditConstraint::attachBadFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("type letter") << "%q";
    QTest::newRow("option letter") << "%i{z1}";
    QTest::newRow("no closing brace") << "%i{n1x4094";
    QTest::newRow("two constraints") << "%i%i";
}

void TstEditConstraint::attachBadFormat()
{
    QFETCH(QString, format);

    Form f;
    f.a->setMaxLength(20);
    const int width = f.a->width();
    try {
        f.constraint->Attach(format, f.a);
        QFAIL("attached a bad format");
    } catch (const KtException &e) {
        QCOMPARE(e.code(), -2);
        QCOMPARE(e.message(), BadText);
    }
    QVERIFY(!f.constraint->IsAttached(f.a));
    QCOMPARE(f.constraint->Count(), 0);
    QCOMPARE(f.a->maxLength(), 20);
    QCOMPARE(f.a->width(), width);
    QTest::keyClicks(f.a, "x1");
    QCOMPARE(f.a->text(), QString("x1"));
    QCOMPARE(f.beeps, 0);
}

void TstEditConstraint::attachTwiceReplaces()
{
    Form f;
    f.constraint->Attach("%i{l3}", f.a);
    f.constraint->Attach("%s{l5}", f.a);
    QCOMPARE(f.constraint->Count(), 1);
    QTest::keyClicks(f.a, "abcdefg");
    QCOMPARE(f.a->text(), QString("abcde"));
    QCOMPARE(f.beeps, 0);
}

void TstEditConstraint::attachAllAddress()
{
    Form f;
    auto *d = new QLineEdit(&f.window);
    f.window.layout()->addWidget(d);
    const QList<QLineEdit *> boxes{f.a, f.b, f.c, d};
    f.constraint->AttachAll(AddressBox + AddressBox + AddressBox + AddressBox, boxes);
    QVERIFY(f.activate());

    QCOMPARE(f.constraint->Count(), 4);
    for (QLineEdit *box : boxes) {
        QCOMPARE(box->width(), 30);
        QTest::keyClicks(box, "1a2");
        QCOMPARE(box->text(), QString("12"));
        QTest::keyClicks(box, "34");
        QCOMPARE(box->text(), QString("123"));
    }
    const QString range = "Please enter a number between 0 and 255!";
    for (QLineEdit *box : boxes) {
        f.messages.clear();
        f.enterAndLeave(box, "255");
        QVERIFY(f.messages.isEmpty());
        f.enterAndLeave(box, "256");
        QCOMPARE(f.messages, QStringList{range});
        QCOMPARE(box->text(), QString("255"));
        QTRY_VERIFY(box->hasFocus());
    }
}

void TstEditConstraint::attachAllAllOrNothing_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("boxes");
    QTest::newRow("too few pieces") << AddressBox + AddressBox << 3;
    QTest::newRow("too many pieces") << AddressBox + AddressBox + AddressBox + AddressBox << 3;
    QTest::newRow("bad last piece") << AddressBox + AddressBox + "%i{q}" << 3;
    QTest::newRow("literal between") << AddressBox + "." + AddressBox << 2;
}

void TstEditConstraint::attachAllAllOrNothing()
{
    QFETCH(QString, format);
    QFETCH(int, boxes);

    Form f;
    const QList<QLineEdit *> all = QList<QLineEdit *>{f.a, f.b, f.c}.mid(0, boxes);
    try {
        f.constraint->AttachAll(format, all);
        QFAIL("attached a format that does not fit the boxes");
    } catch (const KtException &e) {
        QCOMPARE(e.code(), -2);
    }
    QCOMPARE(f.constraint->Count(), 0);
    for (QLineEdit *box : all) {
        QVERIFY(!box->validator());
        QTest::keyClicks(box, "1234x");
        QCOMPARE(box->text(), QString("1234x"));
    }
}

void TstEditConstraint::buildInPanel()
{
    Form f;
    auto *panel = new QFrame(&f.window);
    panel->setFrameStyle(QFrame::Box | QFrame::Raised);
    f.window.layout()->addWidget(panel);
    QList<QLineEdit *> boxes;
    f.constraint->BuildInPanel(panel,
                               "IP " + AddressBox + "." + AddressBox + "." + AddressBox + "." + AddressBox
                                   + " 100%%",
                               &boxes);
    QVERIFY(f.activate());

    QCOMPARE(boxes.size(), 4);
    QCOMPARE(panel->frameShape(), QFrame::NoFrame);

    QList<QWidget *> row = panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    std::sort(row.begin(), row.end(), [](QWidget *l, QWidget *r) { return l->x() < r->x(); });
    QStringList shape;
    int x = 0;
    for (QWidget *w : row) {
        QCOMPARE(w->x(), x);
        QCOMPARE(w->y(), 0);
        QVERIFY(w->isVisible());
        x += w->width() + 1;
        if (auto *label = qobject_cast<QLabel *>(w)) {
            shape << label->text();
            QCOMPARE(label->width(), label->sizeHint().width());
        } else {
            auto *edit = qobject_cast<QLineEdit *>(w);
            QVERIFY(edit);
            QCOMPARE(edit, boxes.at(shape.count("#")));
            QCOMPARE(edit->width(), 30);
            QVERIFY(f.constraint->IsAttached(edit));
            shape << "#";
        }
    }
    QCOMPARE(shape, (QStringList{"IP ", "#", ".", "#", ".", "#", ".", "#", " 100%"}));
    QVERIFY(panel->minimumWidth() >= x - 1);

    // Tab runs through the boxes in the order they were made.
    boxes[0]->setFocus();
    for (int k = 1; k < 4; ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), boxes[k]);
    }

    QTest::keyClicks(boxes[2], "3x00");
    QCOMPARE(boxes[2]->text(), QString("300"));
    boxes[2]->setFocus();
    boxes[3]->setFocus();
    QCOMPARE(f.messages, QStringList{"Please enter a number between 0 and 255!"});
}

void TstEditConstraint::buildInPanelGroupBox()
{
    Form f;
    auto *panel = new QGroupBox("Caption", &f.window);
    f.constraint->BuildInPanel(panel, "%s{l16}", nullptr);
    QCOMPARE(panel->title(), QString());
    const QList<QLineEdit *> edits = panel->findChildren<QLineEdit *>();
    QCOMPARE(edits.size(), 1);
    QTest::keyClicks(edits[0], QString(20, 'k'));
    QCOMPARE(edits[0]->text(), QString(16, 'k'));
    QCOMPARE(edits[0]->pos(), QPoint(0, 0));
    QVERIFY(panel->findChildren<QLabel *>().isEmpty());
}

void TstEditConstraint::buildInPanelBadFormat()
{
    Form f;
    auto *panel = new QFrame(&f.window);
    QList<QLineEdit *> boxes;
    try {
        f.constraint->BuildInPanel(panel, "A %i{n0x5} B %i{n0x5", &boxes);
        QFAIL("built a row from a bad format");
    } catch (const KtException &e) {
        QCOMPARE(e.code(), -2);
        QCOMPARE(e.message(), BadText);
    }
    QVERIFY(panel->children().isEmpty());
    QVERIFY(boxes.isEmpty());
    QCOMPARE(f.constraint->Count(), 0);
}

void TstEditConstraint::boxDestroyedWhileAttached()
{
    Form f;
    f.constraint->AttachAll("%i{l3}%s{l4}", {f.a, f.b});
    QCOMPARE(f.constraint->Count(), 2);
    delete f.a;
    QCOMPARE(f.constraint->Count(), 1);
    QVERIFY(f.constraint->IsAttached(f.b));
    f.constraint->Detach(f.b);
    QCOMPARE(f.constraint->Count(), 0);
}

void TstEditConstraint::constraintDestroyed()
{
    Form f;
    f.constraint->Attach("%i{n1x5}", f.a);
    QVERIFY(f.activate());
    f.enterAndLeave(f.a, "7");
    QCOMPARE(f.messages.size(), 1);
    f.constraint.reset();
    QVERIFY(TestSupport::queuedWorkDone());  // the queued refocus dies with the constraint
    f.enterAndLeave(f.a, "7x");
    QCOMPARE(f.a->text(), QString("7x"));
    QCOMPARE(f.messages.size(), 1);
    QCOMPARE(f.beeps, 0);
}

void TstEditConstraint::setOwner()
{
    Form f;
    QWidget other;
    f.constraint->Attach("%i{n1x5}", f.a);
    QCOMPARE(f.constraint->Owner(), &f.window);
    QVERIFY(f.activate());
    f.enterAndLeave(f.a, "9");
    f.constraint->SetOwner(&other);
    QCOMPARE(f.constraint->Owner(), &other);
    QTRY_VERIFY(f.a->hasFocus());
    f.enterAndLeave(f.a, "8");
    QCOMPARE(f.owners, (QList<QWidget *>{&f.window, &other}));
}

void TstEditConstraint::defaultMessageBox()
{
    Form f;
    KtEditConstraint plain(&f.window, true);
    plain.Attach("%i{n1x4094}", f.a);
    QVERIFY(f.activate());

    QString caption, text;
    int buttons = 0;
    bool modal = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &poll, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        caption = box->windowTitle();
        text = box->text();
        buttons = int(box->standardButtons());
        modal = box->isModal();
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    f.enterAndLeave(f.a, "0");
    poll.stop();

    QCOMPARE(caption, QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    QCOMPARE(text, QString("Please enter a number between 1 and 4094!"));
    QCOMPARE(buttons, int(QMessageBox::Ok));
    QVERIFY(modal);
    QCOMPARE(f.a->text(), QString());
    // The offscreen platform does not hand activation back after a modal
    // box; the box is still the window's focus widget to return to.
    QTRY_COMPARE(f.window.focusWidget(), f.a);
    QApplication::setActiveWindow(&f.window);
    QTRY_VERIFY(f.a->hasFocus());
}

QTEST_MAIN(TstEditConstraint)
#include "tst_editconstraint.moc"
