#pragma once

// Answers the program's message boxes and questions in a test: install one
// (it replaces the message service's backend for its lifetime), queue the
// messages the test expects in order, run the test. A message that was not
// expected, or an expected one never shown, fails the running test.

#include "values/widgets/KtMessageService.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <initializer_list>

class ScriptedMessages : public KtMessageService::Backend
{
public:
    using Kind = KtMessageService::Kind;

    struct Shown
    {
        Kind kind = Kind::Inform;
        QString caption;
        QString text;
        QPointer<QWidget> owner;
        QString ownerTitle;  // its window title when the message was shown
    };

    // Nothing expected, nothing fails the test: every message is kept and
    // questions take the answers given to answer() in order, then otherwise.
    struct RecordOnly
    {
        bool otherwise = false;
    };

    ScriptedMessages();
    explicit ScriptedMessages(RecordOnly mode);
    ~ScriptedMessages() override;
    ScriptedMessages(const ScriptedMessages &) = delete;
    ScriptedMessages &operator=(const ScriptedMessages &) = delete;

    // textPart: the message's text, or a part of it.
    ScriptedMessages &expectInform(const QString &textPart);
    ScriptedMessages &expectWarn(const QString &textPart);
    // answer: true for Yes.
    ScriptedMessages &expectAsk(const QString &textPart, bool answer);
    // A question with a third button; choice: 0 No, 1 Yes, 2 the third button.
    ScriptedMessages &expectChoice(const QString &textPart, const QString &extraButton, int choice);

    // Record-only: the answers to the next questions (true for Yes).
    ScriptedMessages &answer(std::initializer_list<bool> answers);

    // Every message shown, expected or not.
    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    QStringList captions() const;
    // Forgets what was shown, expected and queued.
    void clear();
    // Expected messages not shown yet, as "kind: text" lines.
    QStringList pending() const;
    // What went wrong so far (unexpected messages), as readable lines.
    QStringList problems() const { return m_problems; }

    // Off: problems are only collected, the test is not failed (to test this class).
    void setFailsTest(bool fails) { m_failsTest = fails; }

    bool Show(const KtMessageService::Message &message) override;
    int Choose(const KtMessageService::Message &message) override;

    static QString kindName(Kind kind);

private:
    struct Expected
    {
        Kind kind;
        QString textPart;
        bool answer;
        QString extraButton;  // for expectChoice
        int choice = -1;
    };

    ScriptedMessages &expect(Kind kind, const QString &textPart, bool answer);
    void fail(const QString &problem);

    KtMessageService::Backend *m_previous = nullptr;
    bool m_recordOnly = false;
    bool m_otherwise = false;
    QList<bool> m_answers;
    QList<Expected> m_expected;
    QList<Shown> m_shown;
    QStringList m_problems;
    bool m_failsTest = true;
};
