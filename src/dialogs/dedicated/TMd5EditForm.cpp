#include "dialogs/dedicated/TMd5EditForm.h"

#include "dialogs/dedicated/KtDialogParts.h"
#include "dialogs/dedicated/TMd5InformationFormRules.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace TMd5InformationFormRules;

TMd5EditForm::TMd5EditForm(QWidget *owner)
    : KtSubForm(owner), KeyIDEdit(new QLineEdit(this)), KeyEdit(new QLineEdit(this)), ComboBox1(new QComboBox(this)),
      SetButton(new QPushButton(tr("&Set"), this)), CloseButton(new QPushButton(tr("&Close"), this))
{
    setWindowTitle(tr("Md5 Edit"));
    SetButton->setObjectName(QStringLiteral("SetButton"));
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    KeyIDEdit->setMinimumWidth(150);

    QFormLayout *fields = KtFormRows(this, {{KeyIDEdit, "KeyIDEdit", "Key &ID [1..255]"},
                                            {KeyEdit, "KeyEdit", "&Key"},
                                            {ComboBox1, "ComboBox1", "S&tatus"}});

    Arrange(fields, SetButton, CloseButton);
}

void TMd5EditForm::showEvent(QShowEvent *event)
{
    activate();
    KtSubForm::showEvent(event);
}

void TMd5EditForm::activate()
{
    ShowFailure(QString());
    SetButton->setEnabled(true);
    KeyEdit->setEnabled(true);
    ComboBox1->setEnabled(false);
    if (Mode == AddMode) {
        KeyIDEdit->setEnabled(true);
        KeyIDEdit->clear();
        KeyEdit->clear();
        ComboBox1->setCurrentIndex(1);  // createAndGo
        KeyIDEdit->setFocus();
    } else {
        KeyIDEdit->setEnabled(false);
        ComboBox1->setCurrentIndex(0);  // active
        KeyEdit->setFocus();
    }
}
