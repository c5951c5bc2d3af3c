#include "dialogs/generic/TSNMPPanel.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "dialogs/generic/TEditsPanel.h"
#include "dialogs/generic/TListViewPanel.h"
#include "dialogs/generic/TMsgPanel.h"
#include "errors/KtException.h"
#include "values/widgets/KtMessageService.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

TSNMPPanel::TSNMPPanel(QWidget *owner, TMsgPanel *shared, KtSNMPRequest2Edits *binding)
    : QWidget(owner), Edits(binding), m_shared(shared)
{
    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    ButtonSplitter = new QSplitter(Qt::Horizontal, this);
    ButtonSplitter->setChildrenCollapsible(false);
    outer->addWidget(ButtonSplitter);

    Content = new QWidget(ButtonSplitter);
    Buttons = new TCtrlBtnPanel(ButtonSplitter);
    ButtonSplitter->addWidget(Content);
    ButtonSplitter->addWidget(Buttons);
    ButtonSplitter->setStretchFactor(0, 1);
    ButtonSplitter->setStretchFactor(1, 0);

    auto *contentLayout = new QVBoxLayout(Content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->setSpacing(4);
    MessageSplitter = new QSplitter(Qt::Vertical, Content);
    MessageSplitter->setChildrenCollapsible(false);
    contentLayout->addWidget(MessageSplitter, 1);
    m_holder = new QWidget(MessageSplitter);
    m_holderLayout = new QVBoxLayout(m_holder);
    m_holderLayout->setContentsMargins(0, 0, 0, 0);
    MessageSplitter->addWidget(m_holder);
    MessageSplitter->setStretchFactor(0, 1);

    FailureText = new QLabel(Content);
    FailureText->setWordWrap(true);
    FailureText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    FailureText->setObjectName(QStringLiteral("FailureText"));
    FailureText->hide();
    contentLayout->addWidget(FailureText);

    if (!shared) {
        MsgPanel = new TMsgPanel(MessageSplitter);
        MessageSplitter->addWidget(MsgPanel);
        MessageSplitter->setStretchFactor(1, 0);
    }
    if (Edits)
        Edits->SetStatusTarget(Messages() ? Messages()->Memo : nullptr);

    connect(Buttons->RefreshButton, &QPushButton::clicked, this, [this] { Refresh(); });
    connect(Buttons->CloseButton, &QPushButton::clicked, this, &TSNMPPanel::CloseForm);
    auto *f5 = new QShortcut(QKeySequence(Qt::Key_F5), this);
    f5->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f5, &QShortcut::activated, this, [this] {
        if (!Buttons->RefreshButton->isHidden() && Buttons->RefreshButton->isEnabled())
            Buttons->RefreshButton->click();
    });
}

TMsgPanel *TSNMPPanel::Messages() const
{
    return MsgPanel ? MsgPanel : m_shared.data();
}

void TSNMPPanel::Refresh()
{
    if (!Edits)
        return;
    try {
        Edits->Read();
    } catch (const KtException &e) {
        Edits->ShowStatus(e.message());
    }
}

void TSNMPPanel::CloseForm()
{
    if (!Form) {
        KtMessageService::Warn(this, QStringLiteral("Please initial close form"));
        return;
    }
    if (auto *dialog = qobject_cast<QDialog *>(Form.data()))
        dialog->reject();
    else
        Form->close();
}

void TSNMPPanel::SetContent(QWidget *control)
{
    if (ContentControl && ContentControl != control) {
        m_holderLayout->removeWidget(ContentControl);
        ContentControl->hide();
    }
    ContentControl = control;
    if (control) {
        control->setParent(m_holder);
        m_holderLayout->addWidget(control);
        control->show();
    }
    if (MsgPanel) {
        const int contentHeight = control ? control->sizeHint().height() : 0;
        MessageSplitter->setSizes({contentHeight, MsgPanel->sizeHint().height()});
    }
    UpdateTabOrder();
    updateGeometry();
}

QList<QWidget *> TSNMPPanel::ContentFocusChain() const
{
    if (auto *edits = qobject_cast<TEditsPanel *>(ContentControl.data()))
        return edits->FocusChain();
    if (auto *list = qobject_cast<TListViewPanel *>(ContentControl.data()))
        return {static_cast<QWidget *>(list->ListView)};
    return ContentControl ? QList<QWidget *>{ContentControl.data()} : QList<QWidget *>{};
}

void TSNMPPanel::UpdateTabOrder()
{
    QList<QWidget *> chain = ContentFocusChain();
    for (QWidget *w : Buttons->ArrangeList)
        if (w->focusPolicy() != Qt::NoFocus)
            chain.append(w);
    if (MsgPanel)
        chain.append(MsgPanel->Memo);
    for (qsizetype k = 1; k < chain.size(); ++k)
        setTabOrder(chain.at(k - 1), chain.at(k));
}

void TSNMPPanel::AttachToForm(QWidget *form)
{
    Form = form;
    if (!form)
        return;
    QWidget *parent = parentWidget();
    if (parent) {
        if (!parent->layout()) {
            auto *layout = new QVBoxLayout(parent);
            layout->setContentsMargins(0, 0, 0, 0);
        }
        if (parent->layout()->indexOf(this) < 0)
            parent->layout()->addWidget(this);
    }
    const QSize grown = form->size().expandedTo(sizeHint());
    form->resize(grown.boundedTo(QSize(MaxFormWidth, MaxFormHeight)));
}

void TSNMPPanel::ShowFailure(const QString &text)
{
    FailureText->setText(text);
    FailureText->setVisible(!text.isEmpty());
}

QSize TSNMPPanel::sizeHint() const
{
    const QSize content = ContentControl ? ContentControl->sizeHint() : QSize(0, 0);
    const QSize buttons = Buttons->sizeHint();
    int height = content.height();
    if (MsgPanel)
        height += MessageSplitter->handleWidth() + MsgPanel->sizeHint().height();
    if (!FailureText->isHidden())
        height += 4 + FailureText->heightForWidth(content.width());
    return {content.width() + ButtonSplitter->handleWidth() + buttons.width(), std::max(height, buttons.height())};
}
