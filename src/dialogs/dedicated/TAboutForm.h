#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The module's name and version, and the versions of Qt and Net-SNMP it
// runs with.
class TAboutForm : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutForm(QWidget *owner);

    static QString ProgramName();
    // The version the program was built as.
    static QString ProgramVersion();
    // "Qt 6.4.2, Net-SNMP 5.9.3": the libraries found at run time.
    static QString LibraryVersions();

    QLabel *ProductName;
    QLabel *Version;
    QLabel *Libraries;
    QPushButton *OKButton;
};
