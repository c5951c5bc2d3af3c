#pragma once

#include "ports/widgets/TPortSection.h"

#include <memory>
#include <vector>

class QCheckBox;
class QGridLayout;
class QLabel;

// A section over the port-list columns of a table: for each row (a VLAN,
// an aggregator ...) one check box per column for this port's bit of the
// list. Set Checked writes the lists of the rows the operator changed with
// only that bit changed, through the row's binding, and reads them back.
class TPortListSection : public TPortSection
{
    Q_OBJECT

public:
    TPortListSection(const KtPortTable &table, int port, const QString &caption, QWidget *owner);
    ~TPortListSection() override;

    struct Row
    {
        QString suffix;
        std::unique_ptr<KtSNMPRequest2Edits> binding;
        QList<QCheckBox *> boxes;  // in the order of the table's columns
        bool changed = false;
    };

    // A row of the table ("" for a scalar group); its binding is not read yet.
    void AddRow(const QString &suffix);
    int RowCount() const { return int(m_rows.size()); }
    const Row &RowAt(int i) const { return *m_rows.at(size_t(i)); }

    QList<KtSNMPRequest2Edits *> Bindings() const override;
    void Read() override;
    void WriteChecked() override;

private:
    void updateSetButton();
    void showRow(Row &row);

    std::vector<std::unique_ptr<Row>> m_rows;
    QGridLayout *m_grid;
    QLabel *m_empty;
};
