#include "values/widgets/KtMessageService.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {

KtMessageService::Backend *g_backend = nullptr;

// 0 No, 1 Yes, 2 the third button.
int choose(const KtMessageService::Message &m)
{
    QPointer<QWidget> owner(m.owner);
    QMessageBox box(QMessageBox::Question, m.caption, m.text, QMessageBox::Yes | QMessageBox::No, owner);
    QPushButton *extra = m.extraButton.isEmpty() ? nullptr : box.addButton(m.extraButton, QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    box.exec();
    if (extra && box.clickedButton() == extra)
        return 2;
    return box.clickedButton() == box.button(QMessageBox::Yes) ? 1 : 0;
}

bool showBox(const KtMessageService::Message &m)
{
    // The owner may go away while the box runs its own event loop.
    QPointer<QWidget> owner(m.owner);
    switch (m.kind) {
    case KtMessageService::Kind::Ask: {
        return choose(m) == 1;
    }
    case KtMessageService::Kind::Warn: {
        QMessageBox box(QMessageBox::Warning, m.caption, m.text, QMessageBox::Ok, owner);
        box.exec();
        return false;
    }
    case KtMessageService::Kind::Inform:
        break;
    }
    QMessageBox box(QMessageBox::NoIcon, m.caption, m.text, QMessageBox::Ok, owner);
    box.exec();
    return false;
}

} // namespace

bool KtMessageService::Ask(QWidget *owner, const QString &text, const QString &caption)
{
    return show(Kind::Ask, owner, text, caption);
}

int KtMessageService::AskWithExtra(QWidget *owner, const QString &text, const QString &caption,
                                   const QString &extraButton)
{
    const Message m{Kind::Ask, owner, caption.isEmpty() ? DefaultCaption() : caption, text, extraButton};
    if (g_backend)
        return g_backend->Choose(m);
    return choose(m);
}

void KtMessageService::Inform(QWidget *owner, const QString &text, const QString &caption)
{
    show(Kind::Inform, owner, text, caption);
}

void KtMessageService::Warn(QWidget *owner, const QString &text, const QString &caption)
{
    show(Kind::Warn, owner, text, caption);
}

QString KtMessageService::DefaultCaption()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

KtMessageService::Backend *KtMessageService::SetBackend(Backend *backend)
{
    Backend *previous = g_backend;
    g_backend = backend;
    return previous;
}

KtMessageService::Backend *KtMessageService::CurrentBackend()
{
    return g_backend;
}

bool KtMessageService::show(Kind kind, QWidget *owner, const QString &text, const QString &caption)
{
    const Message m{kind, owner, caption.isEmpty() ? DefaultCaption() : caption, text, {}};
    if (g_backend)
        return g_backend->Show(m);
    return showBox(m);
}
