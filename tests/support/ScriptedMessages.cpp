#include "support/ScriptedMessages.h"

#include <QTest>

ScriptedMessages::ScriptedMessages() : m_previous(KtMessageService::SetBackend(this)) {}

ScriptedMessages::ScriptedMessages(RecordOnly mode)
    : m_previous(KtMessageService::SetBackend(this)), m_recordOnly(true), m_otherwise(mode.otherwise)
{
}

ScriptedMessages::~ScriptedMessages()
{
    KtMessageService::SetBackend(m_previous);
    const QStringList left = pending();
    // A test that failed already may well have stopped before its messages.
    if (!left.isEmpty() && !QTest::currentTestFailed())
        fail(QStringLiteral("expected messages never shown:\n  ") + left.join(QStringLiteral("\n  ")));
}

ScriptedMessages &ScriptedMessages::expectInform(const QString &textPart)
{
    return expect(Kind::Inform, textPart, false);
}

ScriptedMessages &ScriptedMessages::expectWarn(const QString &textPart)
{
    return expect(Kind::Warn, textPart, false);
}

ScriptedMessages &ScriptedMessages::expectAsk(const QString &textPart, bool answer)
{
    return expect(Kind::Ask, textPart, answer);
}

ScriptedMessages &ScriptedMessages::expectChoice(const QString &textPart, const QString &extraButton, int choice)
{
    m_expected.append({Kind::Ask, textPart, choice == 1, extraButton, choice});
    return *this;
}

int ScriptedMessages::Choose(const KtMessageService::Message &message)
{
    const bool scripted = !m_recordOnly && !m_expected.isEmpty() && m_expected.first().choice >= 0;
    const Expected next = scripted ? m_expected.first() : Expected{};
    const bool yes = Show(message);
    if (!scripted)
        return yes ? 1 : 0;
    if (message.extraButton != next.extraButton) {
        fail(QStringLiteral("question \"%1\" has the third button \"%2\", expected \"%3\"")
                 .arg(message.text, message.extraButton, next.extraButton));
        return 0;
    }
    return next.choice;
}

ScriptedMessages &ScriptedMessages::expect(Kind kind, const QString &textPart, bool answer)
{
    m_expected.append({kind, textPart, answer, {}, -1});
    return *this;
}

ScriptedMessages &ScriptedMessages::answer(std::initializer_list<bool> answers)
{
    m_answers.append(QList<bool>(answers));
    return *this;
}

QStringList ScriptedMessages::texts() const
{
    QStringList all;
    for (const Shown &s : m_shown)
        all << s.text;
    return all;
}

QStringList ScriptedMessages::captions() const
{
    QStringList all;
    for (const Shown &s : m_shown)
        all << s.caption;
    return all;
}

void ScriptedMessages::clear()
{
    m_shown.clear();
    m_expected.clear();
    m_answers.clear();
    m_problems.clear();
}

QStringList ScriptedMessages::pending() const
{
    QStringList lines;
    for (const Expected &e : m_expected)
        lines << kindName(e.kind) + QStringLiteral(": ") + e.textPart;
    return lines;
}

QString ScriptedMessages::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Ask:
        return QStringLiteral("Ask");
    case Kind::Warn:
        return QStringLiteral("Warn");
    case Kind::Inform:
        break;
    }
    return QStringLiteral("Inform");
}

bool ScriptedMessages::Show(const KtMessageService::Message &message)
{
    m_shown.append({message.kind, message.caption, message.text, message.owner,
                    message.owner ? message.owner->windowTitle() : QString()});
    if (m_recordOnly)
        return message.kind == Kind::Ask && (m_answers.isEmpty() ? m_otherwise : m_answers.takeFirst());
    const QString seen = kindName(message.kind) + QStringLiteral(" \"") + message.text + QLatin1Char('"');
    if (m_expected.isEmpty()) {
        fail(QStringLiteral("unexpected message: ") + seen);
        return false;  // a question nobody expected is answered No
    }
    const Expected next = m_expected.takeFirst();
    if (next.kind != message.kind || !message.text.contains(next.textPart)) {
        fail(QStringLiteral("unexpected message: ") + seen + QStringLiteral(", expected ") + kindName(next.kind)
             + QStringLiteral(" with \"") + next.textPart + QLatin1Char('"'));
        return false;
    }
    return next.answer;
}

void ScriptedMessages::fail(const QString &problem)
{
    m_problems << problem;
    // Called from inside the code under test: it records the failure and
    // the test stops at its next check.
    if (!m_failsTest)
        return;
    if (QTest::currentTestFunction())
        QTest::qFail(qPrintable(problem), __FILE__, __LINE__);
    else
        qWarning("%s", qPrintable(problem));  // outside a test function nothing can fail
}
