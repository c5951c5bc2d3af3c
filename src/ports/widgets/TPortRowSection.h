#pragma once

#include "ports/widgets/TPortSection.h"

#include <memory>

struct KtMenuPanel;
class TEditsPanel;

// A section over one row of a table: the generic rows panel (check box,
// label, value control per variable) on a binding of the row's instance,
// tailored as the table's own dialog tailors it.
class TPortRowSection : public TPortSection
{
    Q_OBJECT

public:
    // rowSuffix: the row's instance suffix ("" for a scalar group).
    TPortRowSection(const KtPortTable &table, int port, const QString &caption, const QString &rowSuffix,
                    const KtMenuPanel *panel, QWidget *owner);
    ~TPortRowSection() override;

    const QString &RowSuffix() const { return m_suffix; }
    TEditsPanel *EditsPanel = nullptr;

    QList<KtSNMPRequest2Edits *> Bindings() const override;
    void Read() override;
    void WriteChecked() override;

private:
    void tailor(const KtMenuPanel &panel);

    QString m_suffix;
    std::unique_ptr<KtSNMPRequest2Edits> m_binding;
};
