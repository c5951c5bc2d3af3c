#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QLineEdit;
class QListWidget;
class QListWidgetItem;

// "Find entry": every visible menu entry by its full menu path, narrowed
// as the operator types (KtEntryMatch), the best match picked; Enter or a double click picks the entry, which
// the main window opens once this dialog has closed.
class TFindEntryDialog : public QDialog
{
    Q_OBJECT

public:
    struct Entry
    {
        QString Name;  // component name
        QString Path;  // "Top > Sub > Caption"
        bool Enabled = true;
        QString Reason;  // why it is disabled, when known; its tool tip
    };

    TFindEntryDialog(const QList<Entry> &entries, QWidget *owner = nullptr);

    QLineEdit *FilterEdit;
    QListWidget *EntryList;

    // The entries shown for the filter now: those whose caption matches
    // first, then those matched by the rest of their path, each in menu order.
    QStringList ShownPaths() const;
    // The component name picked; empty until accepted.
    QString ChosenName() const { return m_chosen; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyFilter(const QString &filter);
    void pick(QListWidgetItem *item);
    void selectFirstEnabled();

    QString m_chosen;
};
