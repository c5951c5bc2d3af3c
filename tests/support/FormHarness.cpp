#include "support/FormHarness.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>

FormHarness::FormHarness(QWidget *form)
{
    adopt(form);
}

FormHarness::~FormHarness()
{
    delete m_form.data();  // the QPointer is null when the form deleted itself
}

void FormHarness::adopt(QWidget *form)
{
    if (m_form && m_form != form)
        delete m_form.data();
    m_form = form;
}

bool FormHarness::show()
{
    if (!m_form)
        return false;
    m_form->show();
    QApplication::setActiveWindow(m_form->window());
    return QTest::qWaitForWindowActive(m_form->window());
}

void FormHarness::type(QLineEdit *box, const QString &text)
{
    box->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        QTest::keyClicks(box, text);
}

void FormHarness::leave(QWidget *current, QWidget *next)
{
    if (!next) {
        next = current->nextInFocusChain();
        while (next != current && !(next->isEnabled() && next->isVisible() && (next->focusPolicy() & Qt::TabFocus)))
            next = next->nextInFocusChain();
    }
    next->setFocus(Qt::TabFocusReason);
}

void FormHarness::enter(QLineEdit *box, const QString &text, QWidget *next)
{
    type(box, text);
    leave(box, next);
}

bool FormHarness::pick(QComboBox *combo, const QString &itemText)
{
    const int target = combo->findText(itemText);
    if (target < 0) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        qWarning("%s has no item \"%s\" (items: %s)", qPrintable(combo->objectName()), qPrintable(itemText),
                 qPrintable(items.join(QStringLiteral(", "))));
        return false;
    }
    combo->setFocus(Qt::TabFocusReason);
    // Home, then Down until the item: the keys skip disabled items like the user's would.
    if (combo->currentIndex() != target)
        QTest::keyClick(combo, Qt::Key_Home);
    for (int guard = combo->count(); combo->currentIndex() < target && guard > 0; --guard)
        QTest::keyClick(combo, Qt::Key_Down);
    if (combo->currentIndex() != target) {
        qWarning("%s: item \"%s\" cannot be selected (disabled?)", qPrintable(combo->objectName()),
                 qPrintable(itemText));
        return false;
    }
    return true;
}

void FormHarness::click(QAbstractButton *button)
{
    QPoint at = button->rect().center();
    // A check box or radio button takes clicks on its indicator and text
    // only, which a layout may leave far from its middle.
    if (qobject_cast<QCheckBox *>(button) || qobject_cast<QRadioButton *>(button)) {
        const int half = qMin(button->width(), button->height()) / 2;
        at.setX(button->isRightToLeft() ? button->width() - 1 - half : half);
    }
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
}

QString FormHarness::text(const QWidget *widget)
{
    if (const auto *w = qobject_cast<const QLineEdit *>(widget))
        return w->text();
    if (const auto *w = qobject_cast<const QLabel *>(widget))
        return w->text();
    if (const auto *w = qobject_cast<const QAbstractButton *>(widget))
        return w->text();
    if (const auto *w = qobject_cast<const QComboBox *>(widget))
        return w->currentText();
    if (const auto *w = qobject_cast<const QPlainTextEdit *>(widget))
        return w->toPlainText();
    if (const auto *w = qobject_cast<const QTextEdit *>(widget))
        return w->toPlainText();
    if (const auto *w = qobject_cast<const QAbstractSpinBox *>(widget))
        return w->text();
    return QString();
}

void FormHarness::missing(const QString &objectName) const
{
    qWarning("no child \"%s\" of the wanted type in %s", qPrintable(objectName),
             m_form ? m_form->metaObject()->className() : "(no form)");
}
