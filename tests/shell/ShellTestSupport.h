#pragma once

#include "values/widgets/KtMessageService.h"

#include <QList>
#include <QStringList>

// Records every message box and answers questions from a script
// (No once the script is used up).
class RecordingBackend : public KtMessageService::Backend
{
public:
    RecordingBackend() { m_previous = KtMessageService::SetBackend(this); }
    ~RecordingBackend() override { KtMessageService::SetBackend(m_previous); }

    bool Show(const KtMessageService::Message &message) override
    {
        shown.append(message);
        texts.append(message.text);
        return message.kind == KtMessageService::Kind::Ask && !answers.isEmpty() && answers.takeFirst();
    }

    QList<KtMessageService::Message> shown;
    QStringList texts;
    QList<bool> answers;

private:
    KtMessageService::Backend *m_previous = nullptr;
};
