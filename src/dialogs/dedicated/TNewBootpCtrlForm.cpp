#include "dialogs/dedicated/TNewBootpCtrlForm.h"

#include "dialogs/dedicated/KtDialogParts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TNewBootpCtrlForm::TNewBootpCtrlForm(QWidget *owner)
    : QDialog(owner), Edit1(new QLineEdit(this)), Edit2(new QLineEdit(this)),
      DeleteBtn(new QPushButton(tr("&Set"), this)), BitBtn1(new QPushButton(tr("&Close"), this)),
      ResultLabel(new QLabel(this))
{
    setWindowTitle(tr("New Bootp Ctrl Entry"));
    DeleteBtn->setObjectName(QStringLiteral("DeleteBtn"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    Edit1->setMinimumWidth(150);
    ResultLabel->setWordWrap(true);
    ResultLabel->hide();

    QFormLayout *fields = KtFormRows(this, {{Edit1, "Edit1", "&Interface Name"}, {Edit2, "Edit2", "&Bootp Server IP"}});

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(DeleteBtn);
    buttons->addWidget(BitBtn1);
    DeleteBtn->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(ResultLabel);
    layout->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
}

void TNewBootpCtrlForm::ShowFailure(const QString &text)
{
    ResultLabel->setText(text);
    ResultLabel->setVisible(!text.isEmpty());
}

void TNewBootpCtrlForm::showEvent(QShowEvent *event)
{
    if (!m_activated) {
        m_activated = true;
        Edit1->clear();
        Edit2->clear();
    }
    ShowFailure(QString());
    DeleteBtn->setEnabled(true);
    Edit1->setEnabled(true);
    Edit2->setEnabled(true);
    Edit1->setFocus();
    QDialog::showEvent(event);
}
