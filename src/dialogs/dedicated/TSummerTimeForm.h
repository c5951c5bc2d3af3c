#pragma once

#include "dialogs/dedicated/TSummerTimeFormRules.h"

#include <QDialog>
#include <QList>

#include <memory>

class KtMainWindowServices;
class KtSNMPRequest2Edits;
class QLineEdit;
class TSNMPEditorPanel;

// The summer-time rule in an editor panel whose four packed rule rows
// show their parts in separate controls, each part bound on its own. Only
// the rule pair of the selected status is shown, read and written; the
// status goes out in a set of its own before the offset and the pair.
// One blocking binding.
class TSummerTimeForm : public QDialog
{
    Q_OBJECT

public:
    explicit TSummerTimeForm(KtMainWindowServices *main, QWidget *parent = nullptr);
    ~TSummerTimeForm() override;

    // The controls of one packed row: the row panel in the place of the
    // variable's edit, then its part controls left to right. The edit
    // stays, hidden, holding "-" while every part has a value, so that the
    // panel's empty-field check covers the row.
    struct TCtrlsList
    {
        int Var = 0;
        QWidget *Row = nullptr;
        QList<QWidget *> Parts;
        QLineEdit *Carrier = nullptr;
    };

    std::unique_ptr<KtSNMPRequest2Edits> Binding;
    TSNMPEditorPanel *Panel;
    QList<TCtrlsList> CtrlsLists;

    int StatusItem() const;
    TSummerTimeFormRules::Entry CurrentEntry() const;
    const TCtrlsList &CtrlsOf(int var) const { return CtrlsLists.at(var - TSummerTimeFormRules::RepeatingStart); }

    void Refresh();
    void SetChecked();
    void LayoutByStatus();

private:
    void buildRow(int var);
    void showPacked();
    void setValid(const QList<int> &vars);
    void read();
};
