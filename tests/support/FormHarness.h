#pragma once

// Drives a widget in a test as a user would: shows it (offscreen), types
// into line edits with key clicks, leaves them so that exit checks run,
// picks combo box items with the keyboard, clicks buttons, reads texts.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <utility>

class QAbstractButton;
class QComboBox;
class QLineEdit;

class FormHarness
{
public:
    // Takes the form (may be null: build() one later).
    explicit FormHarness(QWidget *form = nullptr);
    ~FormHarness();
    FormHarness(const FormHarness &) = delete;
    FormHarness &operator=(const FormHarness &) = delete;

    template <class W, class... Args>
    W *build(Args &&...args)
    {
        auto *w = new W(std::forward<Args>(args)...);
        adopt(w);
        return w;
    }
    void adopt(QWidget *form);
    QWidget *form() const { return m_form; }

    // Shows the form and makes it the active window, so that focus changes
    // deliver their events; false if it does not become active.
    bool show();

    // The child of that object name and type; null (and a warning) when missing.
    template <class W = QWidget>
    W *find(const QString &objectName) const
    {
        W *w = m_form ? m_form->findChild<W *>(objectName) : nullptr;
        if (!w)
            missing(objectName);
        return w;
    }

    // Focuses the box, selects what it holds and types text over it.
    void type(QLineEdit *box, const QString &text);
    // Moves the focus away, to next or else to the next widget in the tab order.
    void leave(QWidget *current, QWidget *next = nullptr);
    // type() then leave().
    void enter(QLineEdit *box, const QString &text, QWidget *next = nullptr);

    // Selects the item with this text by keyboard, as a user does (so that
    // activated() is emitted); false when there is no such enabled item.
    bool pick(QComboBox *combo, const QString &itemText);
    // A left click in the middle of the button (check boxes toggle).
    void click(QAbstractButton *button);

    // The text a user sees: line edit, label, button, combo box's current
    // item, plain or rich text edit, spin box; empty for other widgets.
    static QString text(const QWidget *widget);

private:
    void missing(const QString &objectName) const;

    QPointer<QWidget> m_form;
};
