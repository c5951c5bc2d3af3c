#pragma once

#include "values/widgets/KtMessageService.h"

#include <QStringList>

// Records the text of every message box; questions take the scripted answers (No once used up).
class RecordingBackend : public KtMessageService::Backend
{
public:
    RecordingBackend() : m_previous(KtMessageService::SetBackend(this)) {}
    ~RecordingBackend() override { KtMessageService::SetBackend(m_previous); }

    bool Show(const KtMessageService::Message &message) override
    {
        texts.append(message.text);
        return message.kind == KtMessageService::Kind::Ask && !answers.isEmpty() && answers.takeFirst();
    }

    QStringList texts;
    QList<bool> answers;

private:
    KtMessageService::Backend *m_previous;
};
