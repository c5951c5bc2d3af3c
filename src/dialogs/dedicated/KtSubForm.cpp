#include "dialogs/dedicated/KtSubForm.h"

#include "dialogs/dedicated/KtDialogParts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

KtSubForm::KtSubForm(QWidget *owner) : QDialog(owner), ResultLabel(new QLabel(this))
{
    ResultLabel->setObjectName(QStringLiteral("ResultLabel"));
    ResultLabel->setWordWrap(true);
    ResultLabel->hide();
}

void KtSubForm::ShowFailure(const QString &text)
{
    ResultLabel->setText(text);
    ResultLabel->setVisible(!text.isEmpty());
}

void KtSubForm::Arrange(QLayout *fields, QPushButton *setButton, QPushButton *closeButton)
{
    QHBoxLayout *buttons = KtButtonRow({setButton, closeButton});
    setButton->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(ResultLabel);
    layout->addLayout(buttons);

    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}
