#include "shell/KtMenuRecipe.h"

#include "shell/catalogue/KtMenuEntry.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/TConfigForm.h"
#include "dialogs/generic/TEditsPanel.h"
#include "dialogs/generic/TSNMPEditorPanel.h"
#include "dialogs/generic/TSNMPListViewPanel.h"
#include "errors/KtException.h"
#include "mib/KtMibData.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtOptionList.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPointer>

#include <memory>

namespace {

// What an add hook does to the rows before the Add dialog opens: boxes it
// ticks and locks (unlocked again afterwards), then it clears every field
// and presets a few.
struct AddHook
{
    QChar letter;
    QList<int> locked;
    QList<QPair<int, QString>> presets;
};

const QList<AddHook> &addHooks()
{
    static const QList<AddHook> hooks{
        {QLatin1Char('A'), {}, {{3, QStringLiteral("included")}, {4, QStringLiteral("nonVolatile")}}},
        {QLatin1Char('B'), {1, 2}, {{6, QStringLiteral("nonVolatile")}}},
        {QLatin1Char('C'), {1}, {}},
    };
    return hooks;
}

const QLatin1String CatalogueError("Menu catalogue, line ");

[[noreturn]] void catalogueError(const KtMenuEntry &entry, int line, const QString &what)
{
    throw KtException(-1, CatalogueError + QStringLiteral("%1 (%2): %3").arg(line).arg(entry.path(), what));
}

KtSNMPVarList panelList(const KtMenuEntry &entry, const KtMenuPanel &panel)
{
    KtSNMPVarList list;
    for (qsizetype i = 0; i < panel.tables.size(); ++i) {
        const KtSNMPVarTable *table = KtMibData::Instance().FindTable(panel.tables.at(i));
        if (!table)
            catalogueError(entry, panel.line, QStringLiteral("no descriptor table %1").arg(panel.tables.at(i)));
        if (i == 0)
            list = KtSNMPVarList(*table, panel.listKind, panel.indexCount);
        else
            list.AppendTable(*table);
    }
    if (list.Count() != panel.varCount)
        catalogueError(entry, panel.line,
                       QStringLiteral("%1 variables, the tables hold %2").arg(panel.varCount).arg(list.Count()));
    return list;
}

bool rowOffers(const TEditsPanel *rows, int i, const QString &label)
{
    if (i < 0 || i >= rows->Rows.size())
        return false;
    const KtOptionList *options = rows->Edits ? rows->Edits->Request.Vars.Get(i).Options : nullptr;
    return label.isEmpty() || (options && options->IndexOfLabel(label) >= 0);
}

} // namespace

TConfigForm *KtMenuRecipe::Build(const KtMenuEntry &entry, const QString &host, QWidget *owner)
{
    if (entry.action() != KtMenuEntry::Generic || entry.panels().isEmpty())
        catalogueError(entry, entry.line(), QStringLiteral("not a configuration dialog"));
    auto form = std::make_unique<TConfigForm>(owner);
    form->setObjectName(entry.name() + QLatin1String("Form"));
    form->setWindowTitle(entry.dialogCaption(host));
    const bool paged = entry.layout() == KtMenuEntry::PagedLayout;
    if (paged)
        form->MakePaged();
    for (const KtMenuPanel &panel : entry.panels()) {
        try {
            auto *binding = new KtSNMPRequest2Edits(form.get());
            try {
                binding->Request.Vars = panelList(entry, panel);
            } catch (...) {
                delete binding;
                throw;
            }
            const int column = panel.rowStatusColumn;
            QWidget *built = nullptr;
            if (panel.layout == KtMenuPanel::Editor)
                built = paged ? form->AddEditorPage(panel.pageCaption, binding) : form->SetEditorPanel(binding);
            else if (paged)
                built = form->AddListViewPage(panel.pageCaption, binding, column, panel.addValue, column,
                                              panel.deleteValue);
            else
                built = form->SetListViewPanel(binding, column, panel.addValue, column, panel.deleteValue);
            tailor(entry, panel, built);
        } catch (const KtException &e) {
            // The panels' own texts say what went wrong; the entry says where.
            if (e.message().startsWith(CatalogueError))
                throw;
            catalogueError(entry, panel.line, e.message());
        }
    }
    if (entry.widthGrowth() > 0)
        form->resize(form->width() + entry.widthGrowth(), form->height());
    if (entry.dialogHeight() > 0)
        form->resize(form->width(), entry.dialogHeight());
    return form.release();
}

void KtMenuRecipe::tailor(const KtMenuEntry &entry, const KtMenuPanel &panel, QWidget *built)
{
    auto *editor = static_cast<TSNMPEditorPanel *>(built);
    auto *table = panel.layout == KtMenuPanel::Table ? static_cast<TSNMPListViewPanel *>(built) : nullptr;
    for (const KtMenuTailoring &item : panel.tailoring) {
        switch (item.kind) {
        case KtMenuTailoring::Format: editor->SetVarFormat(item.value, item.format); break;
        case KtMenuTailoring::Ports: editor->EditsPanel->SetPortListItem(item.value, PortsPerRow, PortCount); break;
        case KtMenuTailoring::Width: editor->SetEditWidth(item.value); break;
        case KtMenuTailoring::Always: editor->EditsPanel->SetAlwaysChecked(item.value); break;
        case KtMenuTailoring::NoEdit:
            if (!table)
                catalogueError(entry, panel.line, QStringLiteral("noedit on an editor panel"));
            table->SetNoEdit(true);
            break;
        }
    }
    if (panel.addHook.isNull())
        return;
    if (!table || !panel.hasRowStatus())
        catalogueError(entry, panel.line, QStringLiteral("add hook on a panel without Add"));
    for (const AddHook &hook : addHooks()) {
        if (hook.letter != panel.addHook)
            continue;
        for (int i : hook.locked)
            if (!rowOffers(table->EditsPanel, i, {}))
                catalogueError(entry, panel.line, QStringLiteral("hook %1: no row %2").arg(hook.letter).arg(i));
        for (const auto &[i, label] : hook.presets)
            if (!rowOffers(table->EditsPanel, i, label))
                catalogueError(entry, panel.line,
                               QStringLiteral("hook %1: row %2 does not offer \"%3\"").arg(hook.letter).arg(i).arg(label));
    }
    InstallAddHooks(table, panel.addHook);
}

void KtMenuRecipe::InstallAddHooks(TSNMPListViewPanel *panel, QChar letter)
{
    const auto found = std::find_if(addHooks().begin(), addHooks().end(),
                                    [letter](const AddHook &h) { return h.letter == letter; });
    if (found == addHooks().end())
        throw KtException(-1, QStringLiteral("Unknown add hook %1").arg(letter));
    const AddHook hook = *found;
    panel->BeforeAdd = [hook](TSNMPListViewPanel *p, QAbstractButton *) {
        TEditsPanel *rows = p->EditsPanel;
        for (int i : hook.locked) {
            rows->Rows.at(i).CheckBox->setChecked(true);
            rows->Rows.at(i).CheckBox->setEnabled(false);
        }
        rows->ClearValues();
        for (const auto &[i, label] : hook.presets)
            rows->SetRowValue(i, label);
    };
    if (hook.locked.isEmpty())
        return;
    panel->AfterAdd = [hook](TSNMPListViewPanel *p, QAbstractButton *) {
        for (int i : hook.locked)
            p->EditsPanel->Rows.at(i).CheckBox->setEnabled(true);
    };
}

void KtMenuRecipe::Run(const KtMenuEntry &entry, const QString &host, QWidget *owner,
                       const std::function<void()> &afterClose)
{
    // The owner may go while the dialog runs (the program is closing).
    const QPointer<TConfigForm> form = Build(entry, host, owner);
    if (entry.rmonCheckOnClose() && afterClose)
        form->AfterClose = [afterClose](TConfigForm *) { afterClose(); };
    form->exec();
    delete form.data();
}
