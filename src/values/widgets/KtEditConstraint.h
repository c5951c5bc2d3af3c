#pragma once

#include "values/KtConstraintFormat.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QLineEdit;
class QWidget;

// Input checks for edit boxes, one parsed constraint per box: characters
// the type does not allow are removed while typing (with a beep), the
// whole entry is checked when the box loses the focus, and a rejected
// entry is reported in a message box and replaced by the last accepted
// text.
//
// Handler chaining. A box keeps every connection it has; attaching only
// adds one textChanged connection and an event filter for FocusOut (and,
// for a length limit, a validator that defers to the box's own one), and
// Detach removes exactly those, so unrelated listeners never notice. The
// length limit holds back editing only (a paste is cut at the limit); texts
// the program sets stay whole.
// Code that must run *inside* the check - only for texts that passed it,
// and able to veto - registers a chained handler per box with
// SetChangeHandler / SetExitHandler. Such a handler returns true to let
// the check go on, or false to stop it: after a change no advance to the
// next box follows, after an exit the box gets its last accepted text
// back instead of having the new one remembered. Detach drops the chained
// handlers together with the rest of the box's record.
//
// Focus moves go to the next box of the edit's window in tab order; the
// owner is the parent of the message boxes. Destroying the object drops
// all checks (Qt removes the connection and the filter with it; the
// destructor gives validators back).
class KtEditConstraint : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<bool(QLineEdit *)>;
    using MessageHook = std::function<void(QWidget *owner, const QString &text)>;
    using BeepHook = std::function<void()>;

    KtEditConstraint(QWidget *owner, bool rememberText);
    ~KtEditConstraint() override;

    // Parses format (one constraint) and constrains edit with it; a bad
    // format raises KtException(-2) and leaves the box untouched. A box
    // that already has a constraint gets the new one instead.
    void Attach(const QString &format, QLineEdit *edit);

    // Piece k of a several-box format constrains edits[k]. Every piece is
    // parsed first, and a count that does not match the boxes is a bad
    // format too, so either all boxes are constrained or none.
    void AttachAll(const QString &format, const QList<QLineEdit *> &edits);

    // Builds a row of labels and constrained boxes at the top of panel,
    // left to right, and appends the boxes to *out when out is given.
    void BuildInPanel(QWidget *panel, const QString &format, QList<QLineEdit *> *out);

    void Detach(QLineEdit *edit);
    void SetOwner(QWidget *owner);
    void RememberText(QLineEdit *edit);

    // Chained handlers (see above); ignored for a box without constraint.
    void SetChangeHandler(QLineEdit *edit, Handler handler);
    void SetExitHandler(QLineEdit *edit, Handler handler);

    // Replaces the modal message box / the system beep (tests, embedding).
    void SetMessageHook(MessageHook hook);
    void SetBeepHook(BeepHook hook);

    QWidget *Owner() const;
    bool IsAttached(const QLineEdit *edit) const;
    int Count() const;
    // The box's constraint, or null when it has none.
    const KtConstraintFormat *Format(const QLineEdit *edit) const;
    QString LastGoodText(const QLineEdit *edit) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Record;

    Record *find(const QObject *edit) const;
    void attachParsed(const KtConstraintFormat &format, QLineEdit *edit);
    void forget(QObject *edit);
    void releaseValidator(Record &r);
    void typingCheck(QLineEdit *edit);
    void exitCheck(QLineEdit *edit);
    void reject(QLineEdit *edit, const QString &message);
    void showMessage(const QString &text);
    void beep();
    void moveFocusNext(QLineEdit *edit);

    QPointer<QWidget> m_owner;
    bool m_rememberText;
    std::vector<std::unique_ptr<Record>> m_records;
    MessageHook m_messageHook;
    BeepHook m_beepHook;
    bool m_refocusing = false;
};
