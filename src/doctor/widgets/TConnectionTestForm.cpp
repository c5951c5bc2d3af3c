#include "doctor/widgets/TConnectionTestForm.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QLabel *plainLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

TConnectionTestForm::TConnectionTestForm(const KtDoctorSettings &settings, const QString &hostText,
                                         QWidget *parent)
    : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("TConnectionTestForm"));
    setWindowTitle(QStringLiteral("Test Connection : ") + hostText);

    ST_Summary = plainLabel(this, QStringLiteral("ST_Summary"));
    ST_Summary->setWordWrap(true);
    QFont bold = ST_Summary->font();
    bold.setBold(true);
    ST_Summary->setFont(bold);

    auto *steps = new QWidget(this);
    steps->setObjectName(QStringLiteral("Steps"));
    m_grid = new QGridLayout(steps);
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setColumnStretch(1, 1);

    BT_Again = button(this, "BT_Again", QStringLiteral("Test &Again"));
    BT_Copy = button(this, "BT_Copy", QStringLiteral("&Copy"));
    BT_Close = button(this, "BT_Close", QStringLiteral("C&lose"));
    BT_Close->setDefault(true);
    BT_Copy->setToolTip(QStringLiteral("Copies the report and the Net-SNMP command of the failing step"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BT_Again);
    buttons->addWidget(BT_Copy);
    buttons->addWidget(BT_Close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ST_Summary);
    layout->addSpacing(6);
    layout->addWidget(steps);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setMinimumWidth(640);

    connect(BT_Again, &QPushButton::clicked, this, &TConnectionTestForm::BT_AgainClick);
    connect(BT_Copy, &QPushButton::clicked, this, &TConnectionTestForm::BT_CopyClick);
    connect(BT_Close, &QPushButton::clicked, this, &QDialog::reject);
    connect(&m_doctor, &KtConnectionDoctor::StepChanged, this, [this] {
        m_report = m_doctor.Report();
        refresh();
    });
    connect(&m_doctor, &KtConnectionDoctor::Finished, this, [this] {
        m_report = m_doctor.Report();
        refresh();
    });
    refresh();
}

void TConnectionTestForm::Test()
{
    m_doctor.Start(m_settings);
    m_report = m_doctor.Report();
    refresh();
}

void TConnectionTestForm::ShowReport(const KtDoctorReport &report)
{
    m_doctor.Cancel();
    m_report = report;
    refresh();
}

void TConnectionTestForm::Run(QWidget *parent, const KtDoctorSettings &settings, const QString &hostText)
{
    TConnectionTestForm form(settings, hostText, parent);
    form.Test();
    form.exec();
}

void TConnectionTestForm::Show(QWidget *parent, const KtDoctorSettings &settings, const QString &hostText,
                               const KtDoctorReport &report)
{
    TConnectionTestForm form(settings, hostText, parent);
    form.ShowReport(report);
    form.exec();
}

void TConnectionTestForm::refresh()
{
    ST_Summary->setText(m_report.steps.isEmpty() ? QString() : m_report.Summary());
    if (m_rows.size() != m_report.steps.size()) {
        for (const Row &row : m_rows)
            for (QLabel *label : {row.mark, row.title, row.result, row.sentence, row.command})
                delete label;
        m_rows.clear();
        QWidget *owner = m_grid->parentWidget();
        for (int i = 0; i < m_report.steps.size(); ++i) {
            const QString n = QString::number(i);
            Row row{plainLabel(owner, QStringLiteral("ST_Mark") + n), plainLabel(owner, QStringLiteral("ST_Step") + n),
                    plainLabel(owner, QStringLiteral("ST_Result") + n),
                    plainLabel(owner, QStringLiteral("ST_Sentence") + n),
                    plainLabel(owner, QStringLiteral("ST_Command") + n)};
            row.sentence->setWordWrap(true);
            row.command->setWordWrap(true);
            row.command->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
            row.command->setTextInteractionFlags(Qt::TextSelectableByMouse);
            row.result->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            QFont bold = row.title->font();
            bold.setBold(true);
            row.title->setFont(bold);
            row.mark->setFixedWidth(20);
            m_grid->addWidget(row.mark, 3 * i, 0);
            m_grid->addWidget(row.title, 3 * i, 1);
            m_grid->addWidget(row.result, 3 * i, 2);
            m_grid->addWidget(row.sentence, 3 * i + 1, 1, 1, 2);
            m_grid->addWidget(row.command, 3 * i + 2, 1, 1, 2);
            m_rows.append(row);
        }
    }
    const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    for (int i = 0; i < m_rows.size(); ++i) {
        const KtDoctorStep &step = m_report.steps.at(i);
        const Row &row = m_rows.at(i);
        row.title->setText(QStringLiteral("%1. %2").arg(step.Number()).arg(step.Title()));
        QStyle::StandardPixmap mark = QStyle::SP_CustomBase;
        QString result;
        switch (step.state) {
        case KtDoctorStep::Waiting: result = QStringLiteral("waiting"); break;
        case KtDoctorStep::Running:
            result = QStringLiteral("testing...");
            mark = QStyle::SP_BrowserReload;
            break;
        case KtDoctorStep::Passed:
            result = QStringLiteral("passed, %1 ms").arg(step.elapsedMs);
            mark = QStyle::SP_DialogApplyButton;
            break;
        case KtDoctorStep::Failed:
            result = QStringLiteral("FAILED after %1 ms").arg(step.elapsedMs);
            mark = QStyle::SP_MessageBoxCritical;
            break;
        case KtDoctorStep::NotRun: result = QStringLiteral("not run"); break;
        }
        row.result->setText(result);
        row.mark->setPixmap(mark == QStyle::SP_CustomBase ? QPixmap() : style()->standardIcon(mark).pixmap(icon, icon));
        row.sentence->setText(step.sentence);
        row.sentence->setVisible(!step.sentence.isEmpty());
        const bool showCommand = step.state == KtDoctorStep::Failed && !step.command.isEmpty();
        row.command->setText(showCommand ? step.command : QString());
        row.command->setVisible(showCommand);
        row.title->setEnabled(step.state != KtDoctorStep::NotRun && step.state != KtDoctorStep::Waiting);
    }
    BT_Copy->setEnabled(m_report.finished);
    BT_Again->setEnabled(!m_doctor.Running());
    fitHeight();
}

// Wrapped sentences grow as the steps are made: the window grows with them.
void TConnectionTestForm::fitHeight()
{
    layout()->activate();
    const int needed = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width())
                                                     : layout()->totalMinimumSize().height();
    if (needed > height())
        resize(width(), needed);
}

void TConnectionTestForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fitHeight();
}

void TConnectionTestForm::BT_CopyClick()
{
    if (m_report.finished)
        QGuiApplication::clipboard()->setText(m_report.Text());
}

void TConnectionTestForm::BT_AgainClick()
{
    if (!m_doctor.Running())
        Test();
}
