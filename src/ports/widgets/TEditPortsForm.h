#pragma once

#include "ports/KtMultiPortWrite.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

// "Edit Selected Ports...": one writable column, one value, written to
// every selected port in one SET.
class TEditPortsForm : public QDialog
{
    Q_OBJECT

public:
    TEditPortsForm(const QList<int> &ports, const QString &host, const QList<KtPortColumn> &columns,
                   QWidget *parent = nullptr);

    QComboBox *ColumnChoice() const { return m_column; }
    QComboBox *ValueChoice() const { return m_choice; }
    QLineEdit *ValueEdit() const { return m_edit; }
    QPushButton *SetButton() const { return m_set; }
    QPlainTextEdit *Memo() const { return m_memo; }
    // The value as the form would send it now.
    QString ValueText() const;
    KtMultiPortWrite &Writer() { return m_writer; }

    static QString Caption(const QList<int> &ports, const QString &host);

signals:
    void written(const QString &message);

private:
    void columnChosen(int index);
    void setClicked();
    void finished(bool ok, const QString &message);

    QList<int> m_ports;
    QList<KtPortColumn> m_columns;
    KtMultiPortWrite m_writer;
    QComboBox *m_column = nullptr;
    QStackedWidget *m_valueStack = nullptr;
    QComboBox *m_choice = nullptr;
    QLineEdit *m_edit = nullptr;
    QPushButton *m_set = nullptr;
    QPushButton *m_close = nullptr;
    QPlainTextEdit *m_memo = nullptr;
};
