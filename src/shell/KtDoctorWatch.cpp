#include "shell/KtDoctorWatch.h"

#include "bindings/KtSNMPRequest2Leds.h"
#include "doctor/widgets/TConnectionTestForm.h"

#include <QLabel>

KtDoctorWatch::KtDoctorWatch(KtSNMPRequest2Leds *leds, QLabel *panel, const QString &hostText, QWidget *window)
    : QObject(window), m_leds(leds), m_panel(panel), m_window(window), m_hostText(hostText)
{
    if (leds) {
        connect(leds, &KtSNMPRequest2Leds::PollFailed, this, &KtDoctorWatch::pollFailed);
        connect(leds, &KtSNMPRequest2Leds::PollAnswered, this, &KtDoctorWatch::pollAnswered);
    }
    if (panel) {
        connect(panel, &QLabel::linkActivated, this, [this](const QString &link) {
            if (link == QLatin1String(ReportLink))
                OpenReport();
        });
    }
    connect(&m_doctor, &KtConnectionDoctor::Finished, this, &KtDoctorWatch::tested);
}

void KtDoctorWatch::pollFailed(int inARow)
{
    if (m_started || inARow < FailuresBeforeTest)
        return;
    m_started = true;
    m_doctor.Start(Settings());
}

void KtDoctorWatch::pollAnswered()
{
    if (!m_parking || !m_leds)
        return;
    m_leds->SetStatusPanel(m_panel);
    delete m_parking;
}

void KtDoctorWatch::tested()
{
    if (!m_panel)
        return;
    m_panel->setTextInteractionFlags(m_panel->textInteractionFlags() | Qt::LinksAccessibleByMouse
                                     | Qt::LinksAccessibleByKeyboard);
    // The link first: a long finding runs past the end of the panel.
    m_panel->setText(QStringLiteral("<html><a href=\"%1\">Report...</a> %2</html>")
                         .arg(QLatin1String(ReportLink), m_doctor.Report().Summary().toHtmlEscaped()));
    // The poll, still failing, writes its lines beside the panel until it is answered again.
    if (m_leds && m_leds->FailedInARow > 0 && !m_parking) {
        m_parking = new QLabel(m_panel->parentWidget());
        m_parking->setObjectName(QStringLiteral("ParkedLedStatus"));
        m_parking->hide();
        m_leds->SetStatusPanel(m_parking);
    }
}

void KtDoctorWatch::OpenReport()
{
    if (!m_doctor.Report().finished)
        return;
    TConnectionTestForm::Show(m_window, Settings(), m_hostText, m_doctor.Report());
}
