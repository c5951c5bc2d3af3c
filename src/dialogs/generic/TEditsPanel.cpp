#include "dialogs/generic/TEditsPanel.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/KtMulticastRange.h"
#include "dialogs/generic/KtPlacement.h"
#include "dialogs/generic/KtWriteScope.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "dialogs/generic/TPortPicker.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/widgets/KtMessageService.h"
#include "values/widgets/KtOptionListWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTime>
#include <QVBoxLayout>

namespace {

const char *const RowProperty = "qsxRow";

// Taller than this the panel is cut by the dialog's limit and scrolls.
constexpr int ScrollingHeight = 550;

} // namespace

QLineEdit *TEditsPanel::EditRow::Edit() const
{
    return qobject_cast<QLineEdit *>(Control);
}

QComboBox *TEditsPanel::EditRow::Combo() const
{
    return qobject_cast<QComboBox *>(Control);
}

TEditsPanel::TEditsPanel(QWidget *owner, KtSNMPRequest2Edits *binding)
    : QWidget(owner), Edits(binding), m_scroll(new QScrollArea(this)), m_rowsWidget(new QWidget),
      m_grid(new QGridLayout(m_rowsWidget))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_rowsWidget);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_grid->setContentsMargins(20, 20, 20, 20);
    m_grid->setHorizontalSpacing(5);
    m_grid->setVerticalSpacing(5);
    m_grid->setColumnMinimumWidth(0, 20);
    m_grid->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Before the rows: disabled ones are painted as they are built.
    DisabledFontColor = palette().color(QPalette::WindowText);
    DisabledColor = palette().color(QPalette::Button);
    if (Edits)
        BuildRows();
}

bool TEditsPanel::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if ((event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange)
        && !m_ownDisabledColors) {
        DisabledFontColor = palette().color(QPalette::WindowText);
        DisabledColor = palette().color(QPalette::Button);
        // Only disabled rows carry a palette of their own (paintRow).
        for (int i = 0; i < Rows.size(); ++i)
            if (Rows.at(i).Control && Rows.at(i).Control->testAttribute(Qt::WA_SetPalette))
                paintRow(i, false);
    }
    return handled;
}

void TEditsPanel::checkRange(int i) const
{
    if (i < 0 || i >= Rows.size())
        throw KtException(-1, QStringLiteral("TEditsPanel: no row %1").arg(i));
}

void TEditsPanel::BuildRows()
{
    if (!Edits)
        return;
    KtSNMPRequest2Edits &b = *Edits;
    const KtSNMPVarList &vars = b.Request.Vars;
    for (int i = Rows.size(); i < vars.Count(); ++i) {
        const KtSNMPVar &v = vars.Get(i);
        const bool writable = vars.IsWritable(i);
        EditRow row;
        row.Kind = writable ? (v.Options ? 3 : 2) : (v.Options ? 4 : 1);
        row.CheckBox = new QCheckBox(m_rowsWidget);
        row.CheckBox->setFixedWidth(20);
        row.CheckBox->setFocusPolicy(Qt::NoFocus);
        row.CheckBox->setProperty(RowProperty, i);
        row.Label = new QLabel(v.Label, m_rowsWidget);
        if (row.Kind == 3) {
            auto *combo = new QComboBox(m_rowsWidget);
            combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            row.Control = combo;
        } else {
            auto *edit = new QLineEdit(m_rowsWidget);
            // A value longer than the box shows its beginning, not its end.
            connect(edit, &QLineEdit::textChanged, edit, [edit] {
                if (!edit->hasFocus())
                    edit->setCursorPosition(0);
            });
            row.Control = edit;
        }
        row.Control->setProperty(RowProperty, i);
        row.Label->setBuddy(row.Control);
        m_grid->addWidget(row.CheckBox, i, 0, Qt::AlignVCenter);
        m_grid->addWidget(row.Label, i, 1, Qt::AlignVCenter);
        m_grid->addWidget(row.Control, i, 2, Qt::AlignVCenter);
        Rows.append(row);
        connect(row.CheckBox, &QCheckBox::clicked, this, [this, i] { CheckBoxClicked(i); });
        if (auto *combo = row.Combo())
            b.BindControl(i, combo);
        else
            b.BindEdits(i, row.Kind == 4 ? QStringLiteral("%s") : row.Format, {row.Edit()});
    }
    m_grid->setColumnStretch(3, 1);
    QWidget *previous = nullptr;
    for (QWidget *w : FocusChain()) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
    SetRowStates(false);
    LayoutRows(true);
}

void TEditsPanel::paintRow(int i, bool enabled)
{
    QWidget *control = Rows.at(i).Control;
    if (enabled) {
        control->setPalette(QPalette());
        return;
    }
    QPalette p = control->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (QPalette::ColorRole r : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
            p.setColor(g, r, DisabledFontColor);
        for (QPalette::ColorRole r : {QPalette::Base, QPalette::Button})
            p.setColor(g, r, DisabledColor);
    }
    control->setPalette(p);
}

void TEditsPanel::EnableRow(int i)
{
    checkRange(i);
    EditRow &row = Rows[i];
    row.CheckBox->setEnabled(true);
    row.CheckBox->setChecked(row.Always || DefaultChecked);
    row.CheckBox->setVisible(!row.Always && !RowHidden(i));
    if (QLineEdit *edit = row.Edit()) {
        edit->setReadOnly(row.HasPortPicker());
        edit->setFocusPolicy(Qt::StrongFocus);
    } else {
        row.Control->setEnabled(true);
    }
    paintRow(i, true);
}

void TEditsPanel::DisableRow(int i)
{
    checkRange(i);
    EditRow &row = Rows[i];
    row.CheckBox->setEnabled(false);
    row.CheckBox->setChecked(false);
    row.CheckBox->hide();
    if (QLineEdit *edit = row.Edit()) {
        edit->setReadOnly(true);
        // Out of the tab order, still clickable to select and copy the text.
        edit->setFocusPolicy(Qt::ClickFocus);
    } else {
        row.Control->setEnabled(false);
    }
    paintRow(i, false);
}

void TEditsPanel::SetRowStates(bool checked)
{
    DefaultChecked = checked;
    if (!Edits)
        return;
    const KtSNMPVarList &vars = Edits->Request.Vars;
    for (int i = 0; i < Rows.size(); ++i) {
        if (!vars.IsWritable(i) || i < vars.IndexCount)
            DisableRow(i);
        else
            EnableRow(i);
    }
}

void TEditsPanel::SetDisabledColors(const QColor &font, const QColor &background)
{
    m_ownDisabledColors = true;
    DisabledFontColor = font;
    DisabledColor = background;
    if (!Edits)
        return;
    for (int i = 0; i < Rows.size(); ++i)
        if (!Edits->Request.Vars.IsWritable(i))
            DisableRow(i);
}

bool TEditsPanel::RowHidden(int i) const
{
    return Edits && i >= 0 && i < Edits->Request.Vars.Count() && (Edits->Request.Vars.Get(i).Access & KtAccess::Hidden);
}

void TEditsPanel::HideRow(int i)
{
    checkRange(i);
    if (RowHidden(i))
        return;
    EditRow &row = Rows[i];
    m_hiddenBefore.insert(i, {row.Label->isHidden(), row.CheckBox->isHidden(), row.Control->isHidden()});
    if (Edits)
        Edits->Request.Vars.Get(i).Access |= KtAccess::Hidden;
    row.Label->hide();
    row.CheckBox->hide();
    row.Control->hide();
}

void TEditsPanel::ShowRow(int i)
{
    checkRange(i);
    if (Edits)
        Edits->Request.Vars.Get(i).Access &= ~quint32(KtAccess::Hidden);
    EditRow &row = Rows[i];
    const QList<bool> before = m_hiddenBefore.take(i);
    row.Label->setVisible(!before.value(0, false));
    row.CheckBox->setVisible(!before.value(1, false));
    row.Control->setVisible(!before.value(2, false));
}

void TEditsPanel::ClearValues()
{
    for (int i = 0; i < Rows.size(); ++i) {
        if (QLineEdit *edit = Rows.at(i).Edit())
            edit->clear();
        else if (QComboBox *combo = Rows.at(i).Combo())
            combo->setCurrentIndex(-1);
        if (Edits && i < Edits->Request.Vars.Count())
            Edits->Request.Vars.Get(i).Value.clear();
    }
}

void TEditsPanel::SetEditWidth(int width)
{
    EditWidth = width;
    LayoutRows(true);
}

void TEditsPanel::SetPortListItem(int i, int perRow, int count)
{
    checkRange(i);
    EditRow &row = Rows[i];
    if (row.Kind != 1 && row.Kind != 2)
        throw KtException(-1, QStringLiteral("You can only assign Octet Item to a Edit!"));
    row.PickerPerRow = qMax(1, perRow);
    row.PickerCount = qMax(1, count);
    row.Edit()->setReadOnly(true);
    row.Edit()->installEventFilter(this);
    row.Edit()->setToolTip(tr("Click or press Space to pick the ports"));
}

void TEditsPanel::SetAlwaysChecked(int i)
{
    checkRange(i);
    Rows[i].Always = true;
    Rows[i].CheckBox->setChecked(true);
    Rows[i].CheckBox->hide();
    updateSetButton();
}

void TEditsPanel::SetRowValue(int i, const QString &text)
{
    checkRange(i);
    const KtOptionList *options = Edits ? Edits->Request.Vars.Get(i).Options : nullptr;
    const QString label = options ? options->ValueToLabel(text) : text;
    if (QLineEdit *edit = Rows.at(i).Edit())
        edit->setText(label);
    else if (QComboBox *combo = Rows.at(i).Combo(); combo && options)
        SelectInComboBox(*options, combo, label);
    if (Edits)
        Edits->Request.Vars.Get(i).Value = label;
}

QString TEditsPanel::RowText(int i) const
{
    if (i < 0 || i >= Rows.size())
        return {};
    if (QLineEdit *edit = Rows.at(i).Edit())
        return edit->text();
    if (QComboBox *combo = Rows.at(i).Combo())
        return combo->currentIndex() >= 0 ? combo->currentText() : QString();
    return {};
}

void TEditsPanel::LayoutRows(bool resize)
{
    for (const EditRow &row : Rows) {
        row.Control->setFixedWidth(EditWidth);
        row.Control->setMinimumHeight(RowHeight);
    }
    if (resize) {
        m_rowsWidget->adjustSize();
        updateGeometry();
    }
}

QList<QWidget *> TEditsPanel::FocusChain() const
{
    QList<QWidget *> chain;
    for (const EditRow &row : Rows)
        chain.append(row.Control);
    return chain;
}

QSize TEditsPanel::sizeHint() const
{
    QSize hint = m_rowsWidget->sizeHint() + QSize(2, 2) * m_scroll->frameWidth();
    if (hint.height() > ScrollingHeight)
        hint.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return hint;
}

// ---------------------------------------------------------------- check boxes and buttons

bool TEditsPanel::rowChecked(int i) const
{
    return Rows.at(i).CheckBox->isChecked();
}

bool TEditsPanel::anyVisibleChecked() const
{
    for (int i = 0; i < Rows.size(); ++i)
        if (!RowHidden(i) && rowChecked(i))
            return true;
    return false;
}

void TEditsPanel::updateSetButton()
{
    if (m_buttons)
        m_buttons->SetCheckedButton->setEnabled(anyVisibleChecked());
}

void TEditsPanel::ArrangeCtrlBtn(TCtrlBtnPanel *buttons)
{
    if (!Edits)
        throw KtException(-1, QStringLiteral("TEditsPanel:ArrangeCtrlBtn - EditCtrl is NULL!"));
    m_buttons = buttons;
    buttons->SamplesLabel->hide();
    buttons->CountText->hide();
    for (QPushButton *b : {buttons->StopButton, buttons->EditButton, buttons->AddButton, buttons->DeleteButton})
        b->hide();
    for (QPushButton *b : {buttons->RefreshButton, buttons->SetCheckedButton, buttons->CheckAllButton,
                           buttons->ClearChecksButton, buttons->CloseButton})
        b->show();
    TCtrlBtnPanel::SetCaption(buttons->SetCheckedButton, tr("&Set Checked"));

    const KtSNMPVarList &vars = Edits->Request.Vars;
    int writable = 0;
    for (int i = 0; i < Rows.size(); ++i)
        if (vars.IsWritable(i) && i >= vars.IndexCount)
            ++writable;
    if (writable == 0) {
        buttons->SetCheckedButton->hide();
        buttons->CheckAllButton->hide();
        buttons->ClearChecksButton->hide();
    } else {
        QList<int> choosable;
        for (int i = 0; i < Rows.size(); ++i) {
            const QCheckBox *box = Rows.at(i).CheckBox;
            if (!RowHidden(i) && !box->isHidden() && box->isEnabledTo(m_rowsWidget))
                choosable.append(i);
        }
        if (choosable.size() <= 1) {
            buttons->CheckAllButton->hide();
            buttons->ClearChecksButton->hide();
            TCtrlBtnPanel::SetCaption(buttons->SetCheckedButton, tr("&Set"));
            buttons->SetCheckedButton->setEnabled(true);
            for (int i : choosable)
                Rows[i].CheckBox->setChecked(true);
            int checked = 0;
            for (int i = 0; i < Rows.size(); ++i)
                if (!RowHidden(i) && rowChecked(i))
                    ++checked;
            if (checked <= 1)
                for (const EditRow &row : Rows)
                    row.CheckBox->hide();
        } else {
            updateSetButton();
        }
    }
    buttons->Arrange();
}

void TEditsPanel::CheckBoxClicked(int row)
{
    if (row < 0 || row >= Rows.size())
        return;
    if (MulticastRangeCheck && row != 4 && rowChecked(row))
        CheckAll();
    updateSetButton();
}

void TEditsPanel::CheckAll()
{
    for (const EditRow &row : Rows)
        if (row.CheckBox->isEnabledTo(m_rowsWidget))
            row.CheckBox->setChecked(true);
    if (m_buttons && anyVisibleChecked())
        m_buttons->SetCheckedButton->setEnabled(true);
}

void TEditsPanel::ClearChecks()
{
    for (const EditRow &row : Rows)
        if (row.CheckBox->isEnabledTo(m_rowsWidget) && !row.Always)
            row.CheckBox->setChecked(false);
    if (m_buttons && !anyVisibleChecked())
        m_buttons->SetCheckedButton->setEnabled(false);
}

// ---------------------------------------------------------------- writing

QString TEditsPanel::validationRefusal() const
{
    const auto checked = [this](int i) { return i < Rows.size() && rowChecked(i); };
    KtMulticastRange::Rows rows;
    rows.fromChecked = checked(1);
    rows.toChecked = checked(2);
    rows.accessChecked = checked(3);
    rows.stateChecked = checked(4);
    rows.fromText = RowText(1);
    rows.toText = RowText(2);
    rows.accessText = RowText(3);
    return KtMulticastRange::Refusal(rows);
}

TEditsPanel::WriteOutcome TEditsPanel::WriteChecked(QAbstractButton *clicked)
{
    if (!Edits)
        return WriteOutcome::Refused;
    if (MulticastRangeCheck) {
        const QString refusal = validationRefusal();
        if (!refusal.isEmpty()) {
            KtMessageService::Warn(window(), refusal, QStringLiteral("Error"));
            return WriteOutcome::Refused;
        }
    }
    const QPointer<KtSNMPRequest2Edits> binding = Edits;
    KtSNMPVarList &vars = binding->Request.Vars;
    KtWriteScope scope(binding);
    const auto fail = [&](const KtException &e) {
        binding->LastOperation = 1;
        binding->ShowStatus(e.message());
        LastFailure = KtSNMPRequest2Controls::StatusText(1, vars.DisplayName, e.message(), QTime::currentTime());
        return WriteOutcome::Failed;
    };

    try {
        binding->CollectValues();
    } catch (const KtException &e) {
        return fail(e);
    }
    bool empty = false;
    for (int i = 0; i < vars.Count(); ++i) {
        KtSNMPVar &v = vars.Get(i);
        if (i >= Rows.size() || !rowChecked(i))
            scope.Exclude(i);
        if (!(v.Access & KtAccess::Invalid) && RowText(i).isEmpty())
            empty = true;
    }
    if (empty) {
        KtMessageService::Warn(window(), QStringLiteral("Some items are empty!"), QStringLiteral("Warning"));
        return WriteOutcome::Refused;
    }
    try {
        binding->Write(false, false);
    } catch (const KtException &e) {
        return fail(e);
    }
    LastFailure.clear();
    if (TCtrlBtnPanel::Tag(clicked) == 1) {
        if (auto *dialog = qobject_cast<QDialog *>(clicked->window()))
            dialog->accept();
    }
    return WriteOutcome::Written;
}

// ---------------------------------------------------------------- port picker

int TEditsPanel::rowOfEdit(const QObject *edit) const
{
    for (int i = 0; i < Rows.size(); ++i)
        if (Rows.at(i).Control == edit && Rows.at(i).HasPortPicker())
            return i;
    return -1;
}

bool TEditsPanel::eventFilter(QObject *watched, QEvent *event)
{
    const int row = (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)
        ? rowOfEdit(watched)
        : -1;
    if (row < 0)
        return QWidget::eventFilter(watched, event);
    bool open = false;
    if (event->type() == QEvent::MouseButtonPress) {
        open = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
    } else {
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F4:
            open = true;
            break;
        case Qt::Key_Down:
            open = key->modifiers() & Qt::AltModifier;
            break;
        default:
            open = !key->text().isEmpty() && key->text().at(0).isPrint()
                && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
            break;
        }
    }
    if (!open)
        return QWidget::eventFilter(watched, event);
    // Not from inside the event being delivered: the picker runs its own loop.
    QMetaObject::invokeMethod(this, [this, row] { OpenPortPicker(row); }, Qt::QueuedConnection);
    return true;
}

void TEditsPanel::OpenPortPicker(int i)
{
    if (!Edits || i < 0 || i >= Rows.size() || !Rows.at(i).HasPortPicker() || findChild<TPortPicker *>())
        return;
    const EditRow row = Rows.at(i);
    QLineEdit *edit = row.Edit();
    const QPointer<KtSNMPRequest2Edits> binding = Edits;
    KtSNMPVarList &vars = binding->Request.Vars;
    try {
        binding->TakeValues(-1);
    } catch (const KtException &) {
        // What the controls hold cannot be taken; the picker shows the stored value.
    }
    TPortPicker picker(this, vars.Get(i).Label, row.PickerPerRow, row.PickerCount, vars.IsWritable(i));
    QStringList bits;
    for (int n = 0; n < row.PickerCount; ++n)
        bits.append(QString::number(n));
    try {
        binding->BindBitCheckBoxes(i, bits.join(QLatin1Char(',')), picker.Boxes);
        binding->ShowValues(i);
    } catch (const KtException &) {
        edit->clear();
        vars.Get(i).Value.clear();
        picker.ClearChecks();
    }
    picker.adjustSize();
    KtPlacement::CentreOn(&picker, window());
    emit PortPickerOpening(&picker);
    const bool accepted = picker.exec() == QDialog::Accepted;
    if (!binding)
        return;
    if (accepted) {
        try {
            binding->TakeValues(-1);
        } catch (const KtException &) {
        }
    }
    binding->Unbind(i);
    try {
        binding->BindEdits(i, row.Format, {edit});
        binding->ShowValues(i);
    } catch (const KtException &) {
        return;
    }
    try {
        binding->TakeValues(-1);
    } catch (const KtException &) {
    }
}
