#include "dialogs/dedicated/TAboutForm.h"

#include "snmp/KtNetSnmpVersion.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtGlobal>

#ifndef QSX_VERSION
#error "QSX_VERSION is passed in by the build"
#endif

TAboutForm::TAboutForm(QWidget *owner)
    : QDialog(owner), ProductName(new QLabel(ProgramName(), this)),
      Version(new QLabel(tr("Version %1").arg(ProgramVersion()), this)), Libraries(new QLabel(LibraryVersions(), this)),
      OKButton(new QPushButton(tr("Ok"), this))
{
    setWindowTitle(tr("About"));
    ProductName->setObjectName(QStringLiteral("ProductName"));
    Version->setObjectName(QStringLiteral("Version"));
    Libraries->setObjectName(QStringLiteral("Libraries"));
    OKButton->setObjectName(QStringLiteral("OKButton"));
    QFont bold = ProductName->font();
    bold.setBold(true);
    ProductName->setFont(bold);
    for (QLabel *l : {ProductName, Version, Libraries}) {
        l->setAlignment(Qt::AlignHCenter);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    OKButton->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ProductName);
    layout->addWidget(Version);
    layout->addWidget(Libraries);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(300);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

QString TAboutForm::ProgramName()
{
    return QStringLiteral("QSX-4810 Device Management Module");
}

QString TAboutForm::ProgramVersion()
{
    return QStringLiteral(QSX_VERSION);
}

QString TAboutForm::LibraryVersions()
{
    return QStringLiteral("Qt %1, Net-SNMP %2").arg(QLatin1String(qVersion()), KtNetSnmpVersion());
}
