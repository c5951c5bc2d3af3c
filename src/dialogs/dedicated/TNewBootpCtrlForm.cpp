#include "dialogs/dedicated/TNewBootpCtrlForm.h"

#include "dialogs/dedicated/KtDialogParts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TNewBootpCtrlForm::TNewBootpCtrlForm(QWidget *owner)
    : KtSubForm(owner), Edit1(new QLineEdit(this)), Edit2(new QLineEdit(this)),
      DeleteBtn(new QPushButton(tr("&Set"), this)), BitBtn1(new QPushButton(tr("&Close"), this))
{
    setWindowTitle(tr("New Bootp Ctrl Entry"));
    DeleteBtn->setObjectName(QStringLiteral("DeleteBtn"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    Edit1->setMinimumWidth(150);

    QFormLayout *fields = KtFormRows(this, {{Edit1, "Edit1", "&Interface Name"}, {Edit2, "Edit2", "&Bootp Server IP"}});

    Arrange(fields, DeleteBtn, BitBtn1);
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
    KtSubForm::showEvent(event);
}
