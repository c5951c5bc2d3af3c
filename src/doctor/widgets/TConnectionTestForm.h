#pragma once

#include "doctor/KtConnectionDoctor.h"

#include <QDialog>
#include <QList>

class QGridLayout;
class QLabel;
class QPushButton;

// "Test Connection": the steps of a connection test as they are made,
// each with its result, time and sentence; the failing step also shows
// the equivalent Net-SNMP command. Copy puts the report on the clipboard.
class TConnectionTestForm : public QDialog
{
    Q_OBJECT

public:
    TConnectionTestForm(const KtDoctorSettings &settings, const QString &hostText, QWidget *parent = nullptr);

    // Runs the test with the settings the form was made with.
    void Test();
    // Shows a test already made; Test Again runs a new one.
    void ShowReport(const KtDoctorReport &report);

    const KtDoctorReport &Report() const { return m_report; }
    KtConnectionDoctor &Doctor() { return m_doctor; }

    // Modal: tests at once, or shows report when it is given.
    static void Run(QWidget *parent, const KtDoctorSettings &settings, const QString &hostText);
    static void Show(QWidget *parent, const KtDoctorSettings &settings, const QString &hostText,
                     const KtDoctorReport &report);

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Row
    {
        QLabel *mark;
        QLabel *title;
        QLabel *result;
        QLabel *sentence;
        QLabel *command;
    };

    void refresh();
    void fitHeight();
    void BT_CopyClick();
    void BT_AgainClick();

    KtDoctorSettings m_settings;
    KtConnectionDoctor m_doctor;
    KtDoctorReport m_report;

    QLabel *ST_Summary;
    QGridLayout *m_grid;
    QList<Row> m_rows;
    QPushButton *BT_Again;
    QPushButton *BT_Copy;
    QPushButton *BT_Close;
};
