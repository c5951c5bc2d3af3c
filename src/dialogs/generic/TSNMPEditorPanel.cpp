#include "dialogs/generic/TSNMPEditorPanel.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/KtSlotGuard.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "dialogs/generic/TEditsPanel.h"
#include "errors/KtException.h"

#include <QLineEdit>
#include <QPushButton>

TSNMPEditorPanel::TSNMPEditorPanel(QWidget *owner, KtSNMPRequest2Edits *binding)
    : TSNMPPanel(owner, nullptr, binding), EditsPanel(new TEditsPanel(Content, binding))
{
    Buttons->SetCheckedButton->setEnabled(false);
    connect(Buttons->SetCheckedButton, &QPushButton::clicked, this,
            [this] { KtRunGuarded(this, Edits, [this] { EditsPanel->WriteChecked(Buttons->SetCheckedButton); }); });
    connect(Buttons->CheckAllButton, &QPushButton::clicked, EditsPanel, &TEditsPanel::CheckAll);
    connect(Buttons->ClearChecksButton, &QPushButton::clicked, EditsPanel, &TEditsPanel::ClearChecks);
    EditsPanel->ArrangeCtrlBtn(Buttons);
    SetContent(EditsPanel);
}

void TSNMPEditorPanel::SetEditWidth(int width)
{
    EditsPanel->SetEditWidth(width);
    SetContent(EditsPanel);
    AttachToForm(Form);
}

void TSNMPEditorPanel::SetVarFormat(int i, const QString &format)
{
    if (i < 0 || i >= EditsPanel->Rows.size())
        throw KtException(-1, QStringLiteral("Unknow UI Control type!"));
    TEditsPanel::EditRow &row = EditsPanel->Rows[i];
    if (row.Kind == 3)
        throw KtException(-1, QStringLiteral("Can not set Var format to a ComboBox!"));
    if (row.Kind != 1 && row.Kind != 2)
        throw KtException(-1, QStringLiteral("Unknow UI Control type!"));
    if (!Edits)
        return;
    Edits->Unbind(i);
    try {
        Edits->BindEdits(i, format, {row.Edit()});
    } catch (const KtException &) {
        // A bad format leaves the row as it was.
        Edits->BindEdits(i, row.Format, {row.Edit()});
        throw;
    }
    row.Format = format;
}
