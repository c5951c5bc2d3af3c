#include "values/widgets/KtEditConstraint.h"
#include "values/widgets/KtMessageService.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QValidator>

#include <algorithm>

namespace {

// QLineEdit's own default: no limit in practice.
constexpr int UnlimitedLength = 32767;

// Holds typed and pasted input to the constraint's length: an insertion
// is cut where the text reaches the limit, as the box's own maxLength
// would cut it. That maxLength would also cut texts the program sets -
// read values and the "(NULL)" placeholder - which then go back to the
// agent shortened; the validator tells them apart because only editing
// marks the box modified, and leaves them whole. The box's own validator,
// if any, still has its say.
class LengthValidator : public QValidator
{
public:
    LengthValidator(int maxLength, QLineEdit *edit, const QValidator *previous, QObject *parent)
        : QValidator(parent), m_maxLength(maxLength), m_edit(edit), m_previous(previous), m_shown(edit->text())
    {
        // The text before a change, which validate() no longer sees.
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { m_shown = text; });
    }

    State validate(QString &input, int &pos) const override
    {
        if (input.size() > m_maxLength && m_edit && m_edit->isModified() && !cut(input, pos))
            return Invalid;
        return m_previous ? m_previous->validate(input, pos) : Acceptable;
    }

    void fixup(QString &input) const override
    {
        if (m_previous)
            m_previous->fixup(input);
    }

private:
    // The edit kept the text before the cursor's run of new characters and
    // the text after the cursor; what it inserted is kept up to the limit.
    bool cut(QString &input, int &pos) const
    {
        const QString &before = m_shown;
        qsizetype tail = input.size() - pos;
        if (pos < 0 || tail < 0 || tail > before.size()
            || QStringView(input).right(tail) != QStringView(before).right(tail))
            tail = 0;
        const qsizetype most = qMin<qsizetype>(before.size() - tail, input.size() - tail);
        qsizetype head = 0;
        while (head < most && input.at(head) == before.at(head))
            ++head;
        const qsizetype room = m_maxLength - head - tail;
        if (room <= 0)
            return false;
        input = input.left(head + room) + input.right(tail);
        pos = int(head + room);
        return true;
    }

    int m_maxLength;
    QPointer<QLineEdit> m_edit;
    QPointer<const QValidator> m_previous;
    QString m_shown;
};

} // namespace

struct KtEditConstraint::Record
{
    QLineEdit *key = nullptr;  // identity, also once the box is being destroyed
    QPointer<QLineEdit> edit;
    KtConstraintFormat format;
    QString lastGoodText;
    Handler onChange;
    Handler onExit;
    QMetaObject::Connection changed;
    QMetaObject::Connection destroyed;
    QPointer<QValidator> lengthLimit;             // ours, when the type has a length
    QPointer<const QValidator> previousValidator;  // the box's, given back on Detach
    bool checking = false;  // a typing check is running for this box
};

KtEditConstraint::KtEditConstraint(QWidget *owner, bool rememberText)
    : m_owner(owner), m_rememberText(rememberText)
{
}

KtEditConstraint::~KtEditConstraint()
{
    for (const auto &r : m_records) {
        if (r->edit) {
            r->edit->removeEventFilter(this);
            releaseValidator(*r);
        }
    }
}

// Hands the box its own validator back, unless someone replaced ours since.
void KtEditConstraint::releaseValidator(Record &r)
{
    if (!r.lengthLimit)
        return;
    if (r.edit && r.edit->validator() == r.lengthLimit)
        r.edit->setValidator(r.previousValidator);
    delete r.lengthLimit;
}

KtEditConstraint::Record *KtEditConstraint::find(const QObject *edit) const
{
    if (!edit)
        return nullptr;
    for (const auto &r : m_records) {
        if (r->key == edit)
            return r.get();
    }
    return nullptr;
}

void KtEditConstraint::Attach(const QString &format, QLineEdit *edit)
{
    const KtConstraintFormat parsed = parseConstraint(format);
    if (edit)
        attachParsed(parsed, edit);
}

void KtEditConstraint::AttachAll(const QString &format, const QList<QLineEdit *> &edits)
{
    const QStringList pieces = splitConstraints(format);
    QList<KtConstraintFormat> parsed;
    for (const QString &piece : pieces)
        parsed.append(parseConstraint(piece));
    if (parsed.size() != edits.size())
        throwBadConstraint();
    for (qsizetype k = 0; k < parsed.size(); ++k) {
        if (edits.at(k))
            attachParsed(parsed.at(k), edits.at(k));
    }
}

void KtEditConstraint::attachParsed(const KtConstraintFormat &format, QLineEdit *edit)
{
    Detach(edit);

    if (format.width > 0)
        edit->setFixedWidth(format.width);
    // For the n type `l` counts numbers, not characters: capping the text
    // there would make "1.2.3.4" with l4 impossible to enter.
    const bool limitsText = format.type != 'n' && format.maxLength > 0;
    edit->setMaxLength(UnlimitedLength);

    auto r = std::make_unique<Record>();
    r->key = edit;
    r->edit = edit;
    r->format = format;
    if (limitsText) {
        r->previousValidator = edit->validator();
        r->lengthLimit = new LengthValidator(format.maxLength, edit, edit->validator(), this);
        edit->setValidator(r->lengthLimit);
    }
    r->changed = connect(edit, &QLineEdit::textChanged, this, [this, edit] { typingCheck(edit); });
    r->destroyed = connect(edit, &QObject::destroyed, this, [this, edit] { forget(edit); });
    edit->installEventFilter(this);
    m_records.push_back(std::move(r));
}

void KtEditConstraint::BuildInPanel(QWidget *panel, const QString &format, QList<QLineEdit *> *out)
{
    if (!panel)
        return;
    // Parses every constraint of the row before the first widget is made.
    const QList<KtFormatPiece> pieces = splitRow(format);

    int x = 0;
    int height = 0;
    QLineEdit *previous = nullptr;
    for (const KtFormatPiece &piece : pieces) {
        if (!piece.isConstraint) {
            auto *label = new QLabel(panel);
            label->setTextFormat(Qt::PlainText);  // literal text, never markup
            label->setText(piece.text);
            label->adjustSize();
            label->move(x, 0);
            label->show();
            x += label->width() + 1;
            height = std::max(height, label->height());
            continue;
        }
        auto *edit = new QLineEdit(panel);
        edit->resize(edit->sizeHint());
        edit->move(x, 0);
        attachParsed(parseConstraint(piece.text), edit);
        if (previous)
            QWidget::setTabOrder(previous, edit);
        previous = edit;
        edit->show();
        x += edit->width() + 1;
        height = std::max(height, edit->height());
        if (out)
            out->append(edit);
    }

    if (auto *group = qobject_cast<QGroupBox *>(panel)) {
        group->setTitle(QString());
        group->setFlat(true);
    } else if (auto *frame = qobject_cast<QFrame *>(panel)) {
        frame->setFrameShape(QFrame::NoFrame);
        frame->setFrameShadow(QFrame::Plain);
    }
    // The children are placed by hand; keep a laid-out panel from
    // shrinking below them.
    panel->setMinimumSize(std::max(panel->minimumWidth(), x), std::max(panel->minimumHeight(), height));
}

void KtEditConstraint::Detach(QLineEdit *edit)
{
    const auto it = std::find_if(m_records.begin(), m_records.end(),
                                 [edit](const auto &r) { return edit && r->key == edit; });
    if (it == m_records.end())
        return;
    disconnect((*it)->changed);
    disconnect((*it)->destroyed);
    edit->removeEventFilter(this);
    releaseValidator(**it);
    m_records.erase(it);
}

void KtEditConstraint::forget(QObject *edit)
{
    // The box is being destroyed: its filter list goes with it.
    for (const auto &r : m_records) {
        if (r->key == edit)
            delete r->lengthLimit;
    }
    std::erase_if(m_records, [edit](const auto &r) { return r->key == edit; });
}

void KtEditConstraint::SetOwner(QWidget *owner)
{
    m_owner = owner;
}

void KtEditConstraint::RememberText(QLineEdit *edit)
{
    if (Record *r = find(edit))
        r->lastGoodText = edit->text();
}

void KtEditConstraint::SetChangeHandler(QLineEdit *edit, Handler handler)
{
    if (Record *r = find(edit))
        r->onChange = std::move(handler);
}

void KtEditConstraint::SetExitHandler(QLineEdit *edit, Handler handler)
{
    if (Record *r = find(edit))
        r->onExit = std::move(handler);
}

void KtEditConstraint::SetMessageHook(MessageHook hook)
{
    m_messageHook = std::move(hook);
}

void KtEditConstraint::SetBeepHook(BeepHook hook)
{
    m_beepHook = std::move(hook);
}

QWidget *KtEditConstraint::Owner() const
{
    return m_owner;
}

bool KtEditConstraint::IsAttached(const QLineEdit *edit) const
{
    return find(edit) != nullptr;
}

int KtEditConstraint::Count() const
{
    return int(m_records.size());
}

const KtConstraintFormat *KtEditConstraint::Format(const QLineEdit *edit) const
{
    const Record *r = find(edit);
    return r ? &r->format : nullptr;
}

QString KtEditConstraint::LastGoodText(const QLineEdit *edit) const
{
    const Record *r = find(edit);
    return r ? r->lastGoodText : QString();
}

bool KtEditConstraint::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // Switching windows, opening a menu or walking the menu bar with
        // the keyboard (which hands the focus back afterwards) does not
        // leave the box.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
            && reason != Qt::MenuBarFocusReason) {
            if (Record *r = find(watched); r && r->edit)
                exitCheck(r->edit);
        }
        return false;  // the check may have deleted this object: touch nothing
    }
    return QObject::eventFilter(watched, event);
}

// Every character the type refuses is removed in one go - the same result
// as removing the first one and checking the rest again, without setting
// the text once per character, which a long paste makes quadratic. Our own
// setText comes back here as a nested change and is left to the loop.
void KtEditConstraint::typingCheck(QLineEdit *edit)
{
    Record *r = find(edit);
    if (!r || r->checking)
        return;
    r->checking = true;
    // Listeners and handlers run inside the loop; any of them may delete
    // the box or this object.
    const QPointer<KtEditConstraint> self(this);
    const QPointer<QLineEdit> guard(edit);
    auto gone = [&] { return !self || !guard || !(r = find(edit)); };
    bool moveOn = false;

    for (;;) {
        const QString text = edit->text();
        if (text.isEmpty() || isPlaceholderText(text))
            break;

        const KtConstraintFormat &f = r->format;
        auto clean = [&f](QString s, int *rejected) {
            if (f.exitChar)
                s.remove(QChar::fromLatin1(f.exitChar));
            return f.acceptedText(s, rejected);
        };
        int rejected = 0;
        const QString cleaned = clean(text, &rejected);
        if (cleaned != text) {
            if (rejected > 0)
                beep();
            if (cleaned.size() + rejected < text.size())
                moveOn = true;  // an exit character was typed
            // The cursor stays behind what is left of the text before it.
            const int cursor = int(clean(text.left(edit->cursorPosition()), nullptr).size());
            edit->setText(cleaned);
            if (gone())
                return;
            if (edit->text() == cleaned)
                edit->setCursorPosition(cursor);
            continue;
        }

        if (r->onChange) {
            const Handler handler = r->onChange;  // may detach the box
            const bool goOn = handler(edit);
            if (gone())
                return;
            if (edit->text() != text)
                continue;
            if (!goOn)
                break;
        }

        const KtConstraintFormat &g = r->format;  // the handler may have re-attached
        if (g.hasFlag(KtConstraintFormat::Advance) && g.maxLength > 0 && text.size() == g.maxLength)
            moveOn = true;
        break;
    }

    r->checking = false;
    // Only a box the user is typing in hands the focus on; a text set by
    // the program must not pull the focus away from somewhere else.
    if (moveOn && edit->hasFocus())
        moveFocusNext(edit);
}

void KtEditConstraint::exitCheck(QLineEdit *edit)
{
    // The box giving the focus back to a rejected one was never entered.
    if (m_refocusing)
        return;
    Record *r = find(edit);
    if (!r)
        return;

    QString message;
    switch (r->format.exitVerdict(edit->text(), &message)) {
    case KtConstraintFormat::Verdict::Skip:
        return;
    case KtConstraintFormat::Verdict::Reject:
        reject(edit, message);
        return;
    case KtConstraintFormat::Verdict::Accept:
        break;
    }

    if (r->onExit) {
        const Handler handler = r->onExit;
        const QPointer<KtEditConstraint> self(this);
        const QPointer<QLineEdit> guard(edit);
        const bool keep = handler(edit);
        if (!self || !guard || !(r = find(edit)))
            return;
        if (!keep) {
            edit->setText(r->lastGoodText);
            return;
        }
    }
    if (m_rememberText)
        r->lastGoodText = edit->text();
}

void KtEditConstraint::reject(QLineEdit *edit, const QString &message)
{
    const QPointer<KtEditConstraint> self(this);
    const QPointer<QLineEdit> guard(edit);
    showMessage(message);  // a modal box runs the event loop
    Record *r = self && guard ? find(edit) : nullptr;
    if (!r)
        return;
    edit->setText(r->lastGoodText);
    if (!self || !guard)
        return;
    // Queued: the focus change that led here is still being delivered.
    QTimer::singleShot(0, this, [this, guard] {
        if (!guard || !find(guard))
            return;
        const QPointer<KtEditConstraint> self(this);
        m_refocusing = true;
        guard->setFocus(Qt::OtherFocusReason);
        if (self)
            m_refocusing = false;
    });
}

void KtEditConstraint::showMessage(const QString &text)
{
    if (m_messageHook) {
        const MessageHook hook = m_messageHook;  // survives this object
        hook(m_owner, text);
        return;
    }
    KtMessageService::Inform(m_owner, text);
}

void KtEditConstraint::beep()
{
    if (m_beepHook)
        m_beepHook();
    else
        QApplication::beep();
}

void KtEditConstraint::moveFocusNext(QLineEdit *edit)
{
    QWidget *window = edit->window();
    for (QWidget *w = edit->nextInFocusChain(); w && w != edit; w = w->nextInFocusChain()) {
        if (w->window() == window && w->isVisible() && w->isEnabled() && !w->focusProxy()
            && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}
