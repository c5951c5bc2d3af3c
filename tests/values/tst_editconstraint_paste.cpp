// Pasting into boxes with a length limit: the paste is cut where the text
// reaches the limit; texts the program sets stay whole.

#include "values/widgets/KtEditConstraint.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

class TstEditConstraintPaste : public QObject
{
    Q_OBJECT

private slots:
    void pasteIsCutAtTheLimit_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("from");    // selection start, or the cursor
        QTest::addColumn<int>("length");  // selected characters
        QTest::addColumn<QString>("paste");
        QTest::addColumn<QString>("after");
        QTest::newRow("into an empty box") << "%s{l5}" << "" << 0 << 0 << "abcdefgh" << "abcde";
        QTest::newRow("at the end") << "%s{l5}" << "ab" << 2 << 0 << "cdefg" << "abcde";
        QTest::newRow("in the middle") << "%s{l5}" << "ab" << 1 << 0 << "XYZW" << "aXYZb";
        QTest::newRow("at the start") << "%s{l5}" << "ab" << 0 << 0 << "aXYZ" << "aXYab";
        QTest::newRow("over a selection") << "%s{l5}" << "hello" << 1 << 3 << "ABCDEFG" << "hABCo";
        QTest::newRow("repeated characters") << "%s{l3}" << "aa" << 1 << 0 << "ab" << "aaa";
        QTest::newRow("into a full box") << "%s{l5}" << "hello" << 5 << 0 << "x" << "hello";
        QTest::newRow("fits") << "%s{l5}" << "ab" << 2 << 0 << "cd" << "abcd";
        QTest::newRow("number box") << "%i{n0x65535l5}" << "" << 0 << 0 << "1234567" << "12345";
        QTest::newRow("hex box, then cleaned") << "%h{l4}" << "" << 0 << 0 << "12G45" << "124";
        QTest::newRow("program text over the limit") << "%s{l3}" << "abcdef" << 6 << 0 << "x" << "abcdef";
    }
    void pasteIsCutAtTheLimit()
    {
        QFETCH(QString, format);
        QFETCH(QString, before);
        QFETCH(int, from);
        QFETCH(int, length);
        QFETCH(QString, paste);
        QFETCH(QString, after);
        QWidget window;
        auto *edit = new QLineEdit(&window);
        KtEditConstraint constraint(&window, true);
        constraint.SetBeepHook([] {});
        constraint.SetMessageHook([](QWidget *, const QString &) {});
        constraint.Attach(format, edit);
        edit->setText(before);
        QCOMPARE(edit->text(), before);  // set by the program: whole
        if (length > 0)
            edit->setSelection(from, length);
        else
            edit->setCursorPosition(from);
        QApplication::clipboard()->setText(paste);
        edit->paste();
        QCOMPARE(edit->text(), after);
    }
};

QTEST_MAIN(TstEditConstraintPaste)
#include "tst_editconstraint_paste.moc"
