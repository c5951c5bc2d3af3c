#include "dialogs/dedicated/TMSEditForm.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtDedicatedRules.h"
#include "dialogs/dedicated/KtDialogParts.h"
#include "dialogs/dedicated/TMSInformationFormRules.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"
#include "values/widgets/KtMessageService.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace TMSInformationFormRules;

TMSEditForm::TMSEditForm(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("MS Add"));
    auto *outer = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    outer->addLayout(grid);
    MSIDEdit = new QLineEdit(this);
    KeyIDEdit = new QLineEdit(this);
    MS_Password = new QLineEdit(this);
    MS_Password->setEchoMode(QLineEdit::Password);
    Row_Status = new QComboBox(this);
    Row_Status->setEnabled(false);
    const QList<QPair<const char *, QWidget *>> rows{{"Member Switch &ID\n", MSIDEdit},
                                                     {"Member &Candidate ID", KeyIDEdit},
                                                     {"Member &Password", MS_Password},
                                                     {"Member Row Status", Row_Status}};
    KtGridRows(grid, this, rows, 160);
    SetButton = new QPushButton(tr("&Set"), this);
    CloseButton = new QPushButton(tr("Cl&ose"), this);
    SetButton->setDefault(true);
    outer->addLayout(KtButtonRow({SetButton, CloseButton}));

    Binding = std::make_unique<KtSNMPRequest2Edits>(this);
    Binding->Request.Vars = EditList();
    Binding->Request.Timeout = RequestTimeout;
    Binding->Asynchronous = false;
    try {
        Binding->BindEdits(EditId, QString::fromLatin1(IdFormat), {MSIDEdit});
        Binding->BindEdits(EditCandidate, QString::fromLatin1(IdFormat), {KeyIDEdit});
        Binding->BindEdits(EditPassword, QString::fromLatin1(PasswordFormat), {MS_Password});
        Binding->BindControl(EditRowStatus, Row_Status);
    } catch (const KtException &e) {
        report(e.message());
    }
    connect(SetButton, &QPushButton::clicked, this, &TMSEditForm::SetButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
}

TMSEditForm::~TMSEditForm() = default;

void TMSEditForm::report(const QString &text)
{
    if (Memo)
        Memo->appendPlainText(text);
}

void TMSEditForm::showEvent(QShowEvent *event)
{
    if (mode == Add) {
        KeyIDEdit->setEnabled(true);
        MSIDEdit->clear();
        KeyIDEdit->clear();
        // The drop-down is not editable, so its selection ("createAndGo",
        // made by Add) survives.
        Row_Status->setEditText(QString());
    } else {
        KeyIDEdit->setEnabled(false);
    }
    QDialog::showEvent(event);
}

void TMSEditForm::SetButtonClick()
{
    QString suffix = SuffixOf(MSIDEdit->text());
    if (mode == Add) {
        const Entry entry{MSIDEdit->text(), KeyIDEdit->text(),
                          Row_Status->currentIndex() >= 0 ? Row_Status->currentText() : QString()};
        const Verdict verdict = CheckAdd(entry, ExistingIds ? ExistingIds() : QStringList());
        if (!verdict.message.isEmpty()) {
            if (verdict.warning)
                KtMessageService::Warn(this, verdict.message, QStringLiteral("Warning"));
            else
                KtMessageService::Inform(this, verdict.message);
            QWidget *focus = verdict.focus == Field::Id          ? static_cast<QWidget *>(MSIDEdit)
                             : verdict.focus == Field::Candidate ? static_cast<QWidget *>(KeyIDEdit)
                             : verdict.focus == Field::RowStatus ? static_cast<QWidget *>(Row_Status)
                                                                 : nullptr;
            if (focus)
                focus->setFocus();
            return;
        }
        suffix = verdict.suffix;
    }
    if (suffix.isEmpty()) {
        KtMessageService::Inform(this, QStringLiteral("Member Siwitch ID is needed."));
        MSIDEdit->setFocus();
        return;
    }
    Binding->Request.Vars.Suffix = suffix;
    Binding->LastOperation = 1;
    try {
        Binding->Write(true, true);
    } catch (const KtException &e) {
        Binding->ShowStatus(e.message());
        return;  // stays open with what was typed
    }
    accept();
}

void TMSEditForm::Destroy(const QString &suffix)
{
    mode = Change;
    Row_Status->setCurrentIndex(TMSInformationFormRules::Destroy);
    Binding->Request.Vars.Suffix = suffix;
    Binding->LastOperation = 1;
    KtAccessOverride leftOut(Binding->Request.Vars, {EditCandidate, EditPassword}, KtAccess::Invalid);
    Binding->Write(false, true);
}
