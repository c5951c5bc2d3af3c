#include "ports/widgets/TEditPortsForm.h"

#include "ports/KtPortMap.h"

#include "values/KtOptionList.h"
#include "values/widgets/KtOptionListWidgets.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

TEditPortsForm::TEditPortsForm(const QList<int> &ports, const QString &host, const QList<KtPortColumn> &columns,
                               QWidget *parent)
    : QDialog(parent), m_ports(ports), m_columns(columns)
{
    setObjectName(QStringLiteral("TEditPortsForm"));
    setWindowTitle(Caption(ports, host));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(QStringLiteral("One value for ports %1, written in one request: the switch takes it for "
                                            "every port or for none.")
                                 .arg(KtPortMap::RangeText(ports)),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *form = new QFormLayout;
    m_column = new QComboBox(this);
    m_column->setObjectName(QStringLiteral("ColumnChoice"));
    for (const KtPortColumn &c : columns)
        m_column->addItem(c.Caption());
    m_valueStack = new QStackedWidget(this);
    m_choice = new QComboBox(m_valueStack);
    m_choice->setObjectName(QStringLiteral("ValueChoice"));
    m_edit = new QLineEdit(m_valueStack);
    m_edit->setObjectName(QStringLiteral("ValueEdit"));
    m_valueStack->addWidget(m_choice);
    m_valueStack->addWidget(m_edit);
    auto *objectLabel = new QLabel(QStringLiteral("&Object:"), this);
    objectLabel->setBuddy(m_column);
    auto *valueLabel = new QLabel(QStringLiteral("&Value:"), this);
    valueLabel->setBuddy(m_valueStack);
    form->addRow(objectLabel, m_column);
    form->addRow(valueLabel, m_valueStack);
    layout->addLayout(form);

    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo"));
    m_memo->setReadOnly(true);
    m_memo->setMinimumHeight(70);
    layout->addWidget(m_memo, 1);

    auto *buttons = new QDialogButtonBox(this);
    m_set = buttons->addButton(QStringLiteral("&Set"), QDialogButtonBox::ApplyRole);
    m_set->setObjectName(QStringLiteral("SetButton"));
    m_set->setDefault(true);
    m_close = buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);

    connect(m_column, &QComboBox::currentIndexChanged, this, &TEditPortsForm::columnChosen);
    connect(m_set, &QPushButton::clicked, this, &TEditPortsForm::setClicked);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(&m_writer, &KtMultiPortWrite::finished, this, &TEditPortsForm::finished);
    columnChosen(m_column->currentIndex());
    setMinimumWidth(460);
    m_set->setEnabled(!columns.isEmpty() && !ports.isEmpty());
    if (columns.isEmpty())
        m_memo->appendPlainText(QStringLiteral("No writable object is shared by these ports."));
}

QString TEditPortsForm::Caption(const QList<int> &ports, const QString &host)
{
    const QString which = ports.size() == 1 ? QStringLiteral("Port %1").arg(ports.first())
                                            : QStringLiteral("Ports %1").arg(KtPortMap::RangeText(ports));
    return QStringLiteral("Edit %1 : %2").arg(which, host);
}

void TEditPortsForm::columnChosen(int index)
{
    if (index < 0 || index >= m_columns.size())
        return;
    const KtOptionList *options = m_columns[index].Var.Options;
    m_choice->clear();
    if (options) {
        FillComboBox(*options, m_choice);
        m_valueStack->setCurrentWidget(m_choice);
    } else {
        m_edit->clear();
        m_valueStack->setCurrentWidget(m_edit);
    }
}

QString TEditPortsForm::ValueText() const
{
    if (m_valueStack->currentWidget() == m_choice)
        return m_choice->currentText();
    return m_edit->text();
}

void TEditPortsForm::setClicked()
{
    const int index = m_column->currentIndex();
    if (index < 0 || index >= m_columns.size())
        return;
    const QString value = ValueText();
    if (value.isEmpty()) {
        m_memo->appendPlainText(QStringLiteral("Enter a value first."));
        return;
    }
    if (m_writer.Start(m_columns[index], m_ports, value)) {
        m_set->setEnabled(false);
        m_memo->appendPlainText(QStringLiteral("Writing %1 to ports %2...")
                                    .arg(m_columns[index].Caption(), KtPortMap::RangeText(m_ports)));
    }
}

void TEditPortsForm::finished(bool, const QString &message)
{
    m_memo->appendPlainText(message);
    m_set->setEnabled(true);
    emit written(message);
}
