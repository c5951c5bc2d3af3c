#include "bindings/KtSNMPRequest2Edits.h"

#include "bindings/KtControlHandler.h"
#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "snmp/KtNumList.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"
#include "values/widgets/KtEditConstraint.h"
#include "values/widgets/KtOptionListWidgets.h"
#include "values/widgets/KtRadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include <algorithm>

namespace {

// Raw octets of a value text; a value that was not read has none.
QByteArray rawOf(const QString &text, quint32 type)
{
    return KtControlHandler::IsUnread(text) ? QByteArray() : KtValue::TextToRaw(text, type);
}

} // namespace

KtSNMPRequest2Edits::KtSNMPRequest2Edits(QWidget *owner)
    : KtSNMPRequest2Controls(owner), Constraint(std::make_unique<KtEditConstraint>(owner, true))
{
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(FlushInterval);
    connect(&m_flushTimer, &QTimer::timeout, this, &KtSNMPRequest2Edits::flushRows);
}

// Our connections go with this object; the edit boxes lose their checks
// with the constraint.
KtSNMPRequest2Edits::~KtSNMPRequest2Edits()
{
    dropQueuedRows();
}

const KtSNMPVar &KtSNMPRequest2Edits::var(int varIndex) const
{
    if (varIndex < 0 || varIndex >= Request.Vars.Count())
        throw KtException(-1, KtCatalogue::Text(KtCatalogue::Common, 11));
    return Request.Vars.Get(varIndex);
}

bool KtSNMPRequest2Edits::isWhole(const ControlBinding &b) const
{
    return b.byteOffset == 0 && b.typeCode == Request.Vars.Get(b.varIndex).Type;
}

const KtOptionList *KtSNMPRequest2Edits::listOf(const ControlBinding &b) const
{
    if (b.optionList || !isWhole(b))
        return b.optionList;
    return Request.Vars.Get(b.varIndex).Options;
}

void KtSNMPRequest2Edits::AttachListView(QTreeWidget *view, bool disableWithoutSelection)
{
    if (m_selection)
        disconnect(m_selection);
    ListView = view;
    DisableWithoutSelection = disableWithoutSelection;
    if (!view)
        return;
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Widths after a read look at the rows on view and a few more, not at thousands.
    view->header()->setResizeContentsPrecision(ResizePrecision);
    QPalette palette = view->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    view->setPalette(palette);
    m_selection = connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                          [this](const QItemSelection &selected, const QItemSelection &) {
                              if (!ListView)
                                  return;
                              QTreeWidgetItem *item = nullptr;
                              if (!selected.isEmpty())
                                  item = ListView->itemFromIndex(selected.indexes().first());
                              Guarded([&] { SelectionChanged(ListView, item, item != nullptr); });
                          });
    BuildColumns();
}

KtSNMPRequest2Edits::ControlBinding &
KtSNMPRequest2Edits::add(int varIndex, int byteOffset, quint32 typeCode, const KtOptionList *list,
                         ControlBinding::Kind kind, const QList<QWidget *> &controls)
{
    auto b = std::make_unique<ControlBinding>();
    b->varIndex = varIndex;
    b->byteOffset = byteOffset;
    b->typeCode = typeCode;
    b->optionList = list;
    b->kind = kind;
    for (QWidget *w : controls)
        b->controls.append(w);
    m_bindings.push_back(std::move(b));
    return *m_bindings.back();
}

void KtSNMPRequest2Edits::BindStaticText(int varIndex, QLabel *label)
{
    Bind(varIndex, 0, var(varIndex).Type, nullptr, label);
}

void KtSNMPRequest2Edits::BindControl(int varIndex, QComboBox *combo)
{
    Bind(varIndex, 0, var(varIndex).Type, nullptr, combo);
}

void KtSNMPRequest2Edits::BindControlAs(int varIndex, int byteOffset, quint32 typeCode,
                                        const KtOptionList *list, QComboBox *combo)
{
    Bind(varIndex, byteOffset, typeCode, list, combo);
}

void KtSNMPRequest2Edits::Bind(int varIndex, int byteOffset, quint32 typeCode, const KtOptionList *list,
                               QWidget *control, QLineEdit *second)
{
    const KtSNMPVar &v = var(varIndex);
    if (!control)
        KtThrowEngine(KtCatalogue::EngTooFewControls);
    const bool whole = byteOffset == 0 && typeCode == v.Type;
    const KtOptionList *effective = list ? list : (whole ? v.Options : nullptr);

    if (auto *combo = qobject_cast<QComboBox *>(control)) {
        if (!effective)
            KtThrowEngine(KtCatalogue::EngNoOptionList);
        if (effective->kind() == KtOptionList::PrefixValues && !second)
            KtThrowEngine(KtCatalogue::EngTooFewControls);
        combo->setEditable(false);
        FillComboBox(*effective, combo);
        QList<QWidget *> controls{combo};
        if (second)
            controls.append(second);
        ControlBinding &b = add(varIndex, byteOffset, typeCode, list, ControlBinding::Combo, controls);
        b.connections.append(
            connect(combo, &QComboBox::activated, this, [this, combo](int) { ControlChanged(combo); }));
    } else if (auto *group = qobject_cast<KtRadioGroup *>(control)) {
        if (!effective)
            KtThrowEngine(KtCatalogue::EngNoOptionList);
        FillRadioGroup(*effective, group);
        ControlBinding &b = add(varIndex, byteOffset, typeCode, list, ControlBinding::Radio, {group});
        b.connections.append(
            connect(group, &KtRadioGroup::itemClicked, this, [this, group](int) { ControlChanged(group); }));
    } else if (auto *box = qobject_cast<QCheckBox *>(control)) {
        // Entry 0 is off and entry 1 on.
        if (effective && effective->count() < 2)
            KtThrowEngine(KtCatalogue::EngNoOptionList);
        ControlBinding &b = add(varIndex, byteOffset, typeCode, list, ControlBinding::Check, {box});
        b.connections.append(
            connect(box, &QCheckBox::clicked, this, [this, box](bool) { ControlChanged(box); }));
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        add(varIndex, byteOffset, typeCode, list, ControlBinding::Label, {label});
    } else {
        KtThrowEngine(KtCatalogue::EngBadControlType);
    }
}

void KtSNMPRequest2Edits::BindEdits(int varIndex, const QString &format, const QList<QLineEdit *> &edits)
{
    BindEditsAs(varIndex, 0, var(varIndex).Type, nullptr, format, edits);
}

void KtSNMPRequest2Edits::BindEditsAs(int varIndex, int byteOffset, quint32 typeCode, const KtOptionList *list,
                                      const QString &format, const QList<QLineEdit *> &edits)
{
    var(varIndex);
    if (edits.isEmpty() || edits.contains(nullptr))
        KtThrowEngine(KtCatalogue::EngTooFewControls);
    Constraint->AttachAll(format, edits);
    add(varIndex, byteOffset, typeCode, list, edits.size() == 1 ? ControlBinding::Edit : ControlBinding::Edits,
        QList<QWidget *>(edits.begin(), edits.end()));
}

void KtSNMPRequest2Edits::BindPanelEdits(int varIndex, const QString &format, QWidget *panel)
{
    const KtSNMPVar &v = var(varIndex);
    QList<QLineEdit *> edits;
    Constraint->BuildInPanel(panel, format, &edits);
    if (edits.isEmpty())
        KtThrowEngine(KtCatalogue::EngTooFewControls);
    add(varIndex, 0, v.Type, nullptr, edits.size() == 1 ? ControlBinding::Edit : ControlBinding::Edits,
        QList<QWidget *>(edits.begin(), edits.end()));
}

void KtSNMPRequest2Edits::BindBitCheckBoxes(int varIndex, const QString &bits, const QList<QCheckBox *> &boxes)
{
    const KtSNMPVar &v = var(varIndex);
    const KtNumList<int> numbers(bits, QLatin1Char(','));
    if (boxes.isEmpty() || boxes.contains(nullptr) || numbers.Count() < boxes.size())
        KtThrowEngine(KtCatalogue::EngTooFewControls);
    ControlBinding &b = add(varIndex, 0, v.Type, nullptr, ControlBinding::Bits,
                            QList<QWidget *>(boxes.begin(), boxes.end()));
    b.bitNumbers = numbers.Items().mid(0, boxes.size());
    for (QCheckBox *box : boxes)
        b.connections.append(connect(box, &QCheckBox::clicked, this, [this, box](bool) { ControlChanged(box); }));
}

void KtSNMPRequest2Edits::Unbind(int varIndex)
{
    std::erase_if(m_bindings, [&](const std::unique_ptr<ControlBinding> &b) {
        if (b->varIndex != varIndex)
            return false;
        for (const QPointer<QWidget> &w : b->controls)
            if (auto *e = qobject_cast<QLineEdit *>(w.data()); e && Constraint->IsAttached(e))
                Constraint->Detach(e);
        for (const QMetaObject::Connection &c : b->connections)
            disconnect(c);
        return true;
    });
}

void KtSNMPRequest2Edits::SetConstraintOwner(QWidget *owner)
{
    Constraint->SetOwner(owner);
}

void KtSNMPRequest2Edits::ControlChanged(QWidget *control)
{
    for (const auto &b : m_bindings)
        if (b->controls.contains(control))
            Modified = true;
}

void KtSNMPRequest2Edits::SetControlsEnabled(bool enabled)
{
    for (const auto &b : m_bindings)
        for (const QPointer<QWidget> &w : b->controls)
            if (w)
                w->setEnabled(enabled);
}

// ---------------------------------------------------------------- showing

void KtSNMPRequest2Edits::ShowValues(int varIndex)
{
    for (const auto &bp : m_bindings) {
        const ControlBinding &b = *bp;
        if (varIndex >= 0 && b.varIndex != varIndex)
            continue;
        const KtSNMPVar &v = Request.Vars.Get(b.varIndex);
        if (v.Access & KtAccess::Invalid)
            continue;
        if (std::any_of(b.controls.begin(), b.controls.end(), [](const QPointer<QWidget> &w) { return !w; }))
            continue;  // a control has gone with its panel
        QString text = v.Options ? v.Options->LabelToValue(v.Value) : v.Value;
        QByteArray raw = rawOf(text, v.Type);
        if (!isWhole(b)) {
            raw = KtValue::ExtractPart(raw, b.byteOffset, b.typeCode);
            text = KtValue::RawToText(raw, b.typeCode);
        }
        const KtOptionList *list = listOf(b);
        if (list)
            text = list->ValueToLabel(text);
        KtControlHandler::For(b.kind).show(b, text, raw, list);
    }
}

// ---------------------------------------------------------------- taking

void KtSNMPRequest2Edits::TakeValues(int varIndex)
{
    for (int i = 0; i < Request.Vars.Count(); ++i) {
        if ((varIndex >= 0 && i != varIndex) || !Request.Vars.IsWritable(i))
            continue;
        KtSNMPVar &v = Request.Vars.Get(i);
        QList<const ControlBinding *> bound;
        for (const auto &b : m_bindings)
            if (b->varIndex == i
                && std::none_of(b->controls.begin(), b->controls.end(),
                                [](const QPointer<QWidget> &w) { return !w; }))
                bound.append(b.get());
        if (bound.isEmpty())
            continue;
        const QString old = v.Options ? v.Options->LabelToValue(v.Value) : v.Value;
        // A display string is rebuilt from its controls alone.
        QByteArray whole = v.Type == KtType::DisplayStr ? QByteArray() : rawOf(old, v.Type);
        for (const ControlBinding *b : bound) {
            const QByteArray part = KtControlHandler::For(b->kind).Take(*b, listOf(*b));
            if (isWhole(*b) && b->kind != ControlBinding::Bits && KtValue::PartSize(v.Type) == -1) {
                // A whole variable-length value is what the controls say, no
                // tail of the old one.
                whole = part;
                continue;
            }
            const qsizetype end = qsizetype(b->byteOffset) + part.size();
            if (whole.size() < end)
                whole.append(QByteArray(end - whole.size(), '\0'));
            whole.replace(b->byteOffset, part.size(), part);
        }
        const QString text = KtValue::RawToText(whole, v.Type);
        v.Value = v.Options ? v.Options->ValueToLabel(text) : text;
    }
}

// ---------------------------------------------------------------- list view

void KtSNMPRequest2Edits::BuildColumns()
{
    const KtSNMPVarList &vars = Request.Vars;
    m_columnOf = QList<int>(vars.Count(), -1);
    QStringList labels;
    for (bool hiddenPass : {true, false})
        for (int i = 0; i < vars.Count(); ++i)
            if (hiddenPass ? vars.IsHidden(i) : (vars.IsShown(i) && !vars.IsHidden(i))) {
                m_columnOf[i] = int(labels.size());
                labels.append(vars.Get(i).Label);
            }
    if (!ListView || ListView->columnCount() >= labels.size())
        return;
    ListView->clear();
    ListView->setColumnCount(int(labels.size()));
    ListView->setHeaderLabels(labels);
    QHeaderView *header = ListView->header();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(false);
    for (int i = 0; i < vars.Count(); ++i) {
        const int column = m_columnOf.at(i);
        if (column >= 0)
            header->resizeSection(column, vars.IsHidden(i) ? 0 : header->sectionSizeHint(column));
    }
}

int KtSNMPRequest2Edits::ColumnOf(int varIndex) const
{
    return m_columnOf.value(varIndex, -1);
}

QTreeWidgetItem *KtSNMPRequest2Edits::rowItem() const
{
    const KtSNMPVarList &vars = Request.Vars;
    QStringList texts(ListView->columnCount());
    for (int i = 0; i < vars.Count(); ++i) {
        const int column = m_columnOf.at(i);
        if (column >= 0 && column < texts.size())
            texts[column] = vars.Get(i).Value;
    }
    return new QTreeWidgetItem(texts);
}

void KtSNMPRequest2Edits::AddRow()
{
    if (!ListView)
        return;
    if (m_columnOf.size() != Request.Vars.Count())
        BuildColumns();
    flushRows();
    ListView->addTopLevelItem(rowItem());
}

void KtSNMPRequest2Edits::queueRow()
{
    if (m_columnOf.size() != Request.Vars.Count())
        BuildColumns();
    m_queuedRows.append(rowItem());
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void KtSNMPRequest2Edits::flushRows()
{
    m_flushTimer.stop();
    if (m_queuedRows.isEmpty())
        return;
    if (ListView)
        ListView->addTopLevelItems(m_queuedRows);
    else
        qDeleteAll(m_queuedRows);
    m_queuedRows.clear();
}

void KtSNMPRequest2Edits::dropQueuedRows()
{
    m_flushTimer.stop();
    qDeleteAll(m_queuedRows);
    m_queuedRows.clear();
}

void KtSNMPRequest2Edits::TakeSelectedRow()
{
    if (!ListView)
        return;
    const QList<QTreeWidgetItem *> selected = ListView->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem *row = selected.first();
    KtSNMPVarList &vars = Request.Vars;
    for (int i = 0; i < vars.Count() && i < m_columnOf.size(); ++i) {
        const int column = m_columnOf.at(i);
        if (column >= 0 && column < ListView->columnCount())
            vars.Get(i).Value = row->text(column);
    }
}

// A blocking walk never returns to the event loop, so the rows are painted
// from here now and then; nothing else is dispatched, so neither the user
// nor a timer can close the dialog under the walk.
void KtSNMPRequest2Edits::paintProgress()
{
    if (!ListView || !ListView->isVisible())
        return;
    if (m_paintClock.isValid() && m_paintClock.elapsed() < 50)
        return;
    ListView->viewport()->repaint();
    m_paintClock.start();
}

// ---------------------------------------------------------------- steps

void KtSNMPRequest2Edits::BeforeRead()
{
    dropQueuedRows();
    if (!ListView)
        return;
    BuildColumns();
    ListView->clear();
    m_paintClock.invalidate();
}

void KtSNMPRequest2Edits::RowReceived()
{
    if (!ListView) {
        ShowValues(-1);
        return;
    }
    if (Asynchronous) {
        queueRow();
    } else {
        AddRow();
        paintProgress();
    }
}

void KtSNMPRequest2Edits::CollectValues()
{
    // Without a list view the values read last stay, so that the octets a
    // part binding does not cover, and variables without controls, are
    // written back unchanged instead of as zeros.
    if (ListView) {
        for (int i = 0; i < Request.Vars.Count(); ++i)
            Request.Vars.Get(i).Value.clear();
        TakeSelectedRow();
    }
    TakeValues(-1);
}

void KtSNMPRequest2Edits::AfterRead()
{
    Modified = false;
    flushRows();
    if (!ListView)
        return;
    // Widths once per read, never per row.
    for (int i = 0; i < Request.Vars.Count(); ++i) {
        const int column = ColumnOf(i);
        if (column >= 0 && !Request.Vars.IsHidden(i))
            ListView->resizeColumnToContents(column);
    }
    if (DisableWithoutSelection && Request.Vars.Kind == KtKind::MVT_FMV)
        SetControlsEnabled(false);
}

void KtSNMPRequest2Edits::SelectionChanged(QTreeWidget *, QTreeWidgetItem *item, bool selected)
{
    if (!item || !selected)
        return;
    if (DisableWithoutSelection)
        SetControlsEnabled(true);
    TakeSelectedRow();
    ShowValues(-1);
    Modified = false;
}
