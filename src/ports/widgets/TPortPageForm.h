#pragma once

#include "ports/KtPortTables.h"

#include <QDialog>
#include <QList>
#include <QPointer>

#include <memory>
#include <vector>

class KtPortRowFinder;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class TMsgPanel;
class TPortSection;

// The port page: a non-modal window "Port N : <host>" with a section for
// every row of the port tables that belongs to the port, in the order of
// the table list. Rows of tables indexed by more than the port, and the
// rows of port-list tables, are found by a walk first; their sections
// follow when it ends. Every binding reports into the memo at the bottom.
//
// The page does not know the menus: a section's link asks, through
// openEntry (entry, row suffix, descriptor table), for the table's own
// dialog with that row selected.
class TPortPageForm : public QDialog
{
    Q_OBJECT

public:
    TPortPageForm(int port, const QString &host, QWidget *owner = nullptr,
                  const QList<KtPortTable> &tables = KtPortTables::Instance());
    ~TPortPageForm() override;

    static QString Caption(int port, const QString &host);
    static QString ObjectName(int port);

    int Port() const { return m_port; }
    QList<TPortSection *> Sections() const;
    // The section of a table's row (suffix "" for a table's only section).
    TPortSection *FindSection(const QString &table, const QString &suffix = {}) const;
    TMsgPanel *Messages() const { return m_messages; }
    QPushButton *RefreshButton() const { return m_refresh; }

    // Reads every section again; the first call also looks for the walked tables' rows.
    void RefreshAll();
    // The first read has started, nothing is being read or written, and
    // every walk has ended.
    bool Idle() const;
    // Stops every binding and waits (bounded); runs once.
    void FormClose();
    bool Closed() const { return m_closed; }

signals:
    void openEntry(const QString &componentName, const QString &rowIndex, const QString &table);
    // A walk ended and its rows' sections are in place (and being read).
    void sectionsAdded(const QString &table);

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void addSection(TPortSection *section, QVBoxLayout *place);
    void rowsFound(KtPortRowFinder *finder, QVBoxLayout *place, const QStringList &rows);

    int m_port;
    QString m_host;
    QScrollArea *m_scroll;
    QWidget *m_sectionsWidget;
    TMsgPanel *m_messages;
    QPushButton *m_refresh;
    QList<QPointer<TPortSection>> m_sections;
    std::vector<std::unique_ptr<KtPortRowFinder>> m_finders;
    int m_walking = 0;
    bool m_shown = false;
    bool m_closed = false;
};
