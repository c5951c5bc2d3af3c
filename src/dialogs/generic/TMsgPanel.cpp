#include "dialogs/generic/TMsgPanel.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

TMsgPanel::TMsgPanel(QWidget *owner) : QWidget(owner), Memo(new QPlainTextEdit(this))
{
    Memo->setReadOnly(true);
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setObjectName(QStringLiteral("Memo"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo);
    setMinimumHeight(fontMetrics().height() + 2 * Memo->frameWidth() + 4);
}

QSize TMsgPanel::sizeHint() const
{
    return {QWidget::sizeHint().width(), DefaultHeight};
}
