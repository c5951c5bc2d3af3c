#pragma once

#include "doctor/KtConnectionDoctor.h"

#include <QObject>
#include <QPointer>

#include <functional>

class KtSNMPRequest2Leds;
class QLabel;
class QWidget;

// Runs the connection test by itself, once, when the LED poll has failed
// FailuresBeforeTest times in a row, and puts its finding into status
// panel 0 with a link to the whole report. While the poll keeps failing
// its failure lines do not cover the finding; the first answered poll
// gives the panel back to it.
class KtDoctorWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr int FailuresBeforeTest = 3;
    static constexpr const char *ReportLink = "#connection-test";

    // window: owns the watch and the report window; panel: status panel 0
    // (a label in a status bar).
    KtDoctorWatch(KtSNMPRequest2Leds *leds, QLabel *panel, const QString &hostText, QWidget *window);

    // The settings of the test; the running session's by default.
    std::function<KtDoctorSettings()> Settings = &KtDoctorSettings::FromSession;

    bool Started() const { return m_started; }
    const KtConnectionDoctor &Doctor() const { return m_doctor; }
    // The report window of the test made (the link's action); modal.
    void OpenReport();

private:
    void pollFailed(int inARow);
    void pollAnswered();
    void tested();

    QPointer<KtSNMPRequest2Leds> m_leds;
    QPointer<QLabel> m_panel;
    QPointer<QLabel> m_parking;  // takes the poll's lines while the finding is shown
    QPointer<QWidget> m_window;
    QString m_hostText;
    KtConnectionDoctor m_doctor;
    bool m_started = false;
};
