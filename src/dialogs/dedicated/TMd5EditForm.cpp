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
    : QDialog(owner), KeyIDEdit(new QLineEdit(this)), KeyEdit(new QLineEdit(this)), ComboBox1(new QComboBox(this)),
      SetButton(new QPushButton(tr("&Set"), this)), CloseButton(new QPushButton(tr("&Close"), this)),
      ResultLabel(new QLabel(this))
{
    setWindowTitle(tr("Md5 Edit"));
    SetButton->setObjectName(QStringLiteral("SetButton"));
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    KeyIDEdit->setMinimumWidth(150);
    ResultLabel->setWordWrap(true);
    ResultLabel->hide();

    QFormLayout *fields = KtFormRows(this, {{KeyIDEdit, "KeyIDEdit", "Key &ID [1..255]"},
                                            {KeyEdit, "KeyEdit", "&Key"},
                                            {ComboBox1, "ComboBox1", "S&tatus"}});

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SetButton);
    buttons->addWidget(CloseButton);
    SetButton->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(ResultLabel);
    layout->addLayout(buttons);

    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TMd5EditForm::ShowFailure(const QString &text)
{
    ResultLabel->setText(text);
    ResultLabel->setVisible(!text.isEmpty());
}

void TMd5EditForm::showEvent(QShowEvent *event)
{
    activate();
    QDialog::showEvent(event);
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
