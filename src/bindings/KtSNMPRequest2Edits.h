#pragma once

#include "bindings/KtSNMPRequest2Controls.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <vector>

class KtEditConstraint;
class KtOptionList;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
struct KtSNMPVar;

// Shows one variable list (scalars, or the rows of a table) in controls
// and builds the value texts back from them.
//
// A table goes into an optional list view, one row per table row; the
// bound controls show the scalars or the selected row. A control may show
// the whole value or a part of it (a typed piece at an octet offset, with
// its own option list), single bits of it (check boxes), or be one of
// several edit boxes for a value with several fields (hex octets, MAC,
// IPv4, IPv6, OID, time ticks, date-times).
//
// Binding adds our own connections beside whatever the controls already
// have (combo box: activated; radio group: itemClicked; check box:
// clicked), and Unbind removes exactly those. Failures raise KtException
// with the engine catalogue's text: -517 a single check box on a type that
// is no truth value, -519 a bit or part beyond the value, -520 a combo box
// or radio group without option list, -521 a control that cannot be bound,
// -522 too few controls for the type.
class KtSNMPRequest2Edits : public KtSNMPRequest2Controls
{
    Q_OBJECT

public:
    struct ControlBinding
    {
        enum Kind { Label, Bits, Check, Combo, Radio, Edit, Edits };

        int varIndex = 0;
        int byteOffset = 0;
        quint32 typeCode = 0;
        const KtOptionList *optionList = nullptr;  // not owned
        Kind kind = Label;
        QList<int> bitNumbers;
        QList<QPointer<QWidget>> controls;  // a combo box's rest-of-value edit comes second
        QList<QMetaObject::Connection> connections;
    };

    explicit KtSNMPRequest2Edits(QWidget *owner);
    ~KtSNMPRequest2Edits() override;

    // Rows of an asynchronous walk reach the list view at most this many ms late.
    static constexpr int FlushInterval = 50;
    static constexpr int ResizePrecision = 100;

    QPointer<QTreeWidget> ListView;
    std::unique_ptr<KtEditConstraint> Constraint;
    bool Modified = false;
    bool DisableWithoutSelection = true;

    // A read-only report view: no root decoration, one whole row selected
    // at a time, the selection still visible without focus.
    void AttachListView(QTreeWidget *view, bool disableWithoutSelection = true);

    void BindStaticText(int varIndex, QLabel *label);
    void BindControl(int varIndex, QComboBox *combo);
    void BindControlAs(int varIndex, int byteOffset, quint32 typeCode, const KtOptionList *list,
                       QComboBox *combo);
    void BindEdits(int varIndex, const QString &format, const QList<QLineEdit *> &edits);
    void BindEditsAs(int varIndex, int byteOffset, quint32 typeCode, const KtOptionList *list,
                     const QString &format, const QList<QLineEdit *> &edits);
    void BindPanelEdits(int varIndex, const QString &format, QWidget *panel);
    // bits: decimal bit numbers separated by ","; bit 0 is the most
    // significant bit of octet 0.
    void BindBitCheckBoxes(int varIndex, const QString &bits, const QList<QCheckBox *> &boxes);
    // Combo box, KtRadioGroup, QCheckBox or QLabel; second: the edit box
    // holding the rest of the value after a prefix option list's label.
    void Bind(int varIndex, int byteOffset, quint32 typeCode, const KtOptionList *list, QWidget *control,
              QLineEdit *second = nullptr);
    void Unbind(int varIndex);
    void SetConstraintOwner(QWidget *owner);

    // Value texts to controls and back; varIndex -1 means every variable.
    void ShowValues(int varIndex = -1);
    void TakeValues(int varIndex = -1);
    void SetControlsEnabled(bool enabled);

    // The list view's columns hold the hidden descriptors first, then the
    // shown ones; a row is written and read back through the same order.
    void BuildColumns();
    void AddRow();
    void TakeSelectedRow();
    // Column of descriptor i in the list view, -1 when it has none.
    int ColumnOf(int varIndex) const;

    int BindingCount() const { return int(m_bindings.size()); }
    const ControlBinding &BindingAt(int i) const { return *m_bindings.at(size_t(i)); }

    void BeforeRead() override;
    void RowReceived() override;
    void CollectValues() override;
    void AfterRead() override;
    virtual void SelectionChanged(QTreeWidget *view, QTreeWidgetItem *item, bool selected);

    // A bound combo box, radio group or check box was changed by the user.
    void ControlChanged(QWidget *control);

private:
    ControlBinding &add(int varIndex, int byteOffset, quint32 typeCode, const KtOptionList *list,
                        ControlBinding::Kind kind, const QList<QWidget *> &controls);
    const KtSNMPVar &var(int varIndex) const;
    bool isWhole(const ControlBinding &b) const;
    const KtOptionList *listOf(const ControlBinding &b) const;
    QTreeWidgetItem *rowItem() const;
    void queueRow();
    void flushRows();
    void dropQueuedRows();
    void paintProgress();

    std::vector<std::unique_ptr<ControlBinding>> m_bindings;
    QList<int> m_columnOf;
    QMetaObject::Connection m_selection;
    QElapsedTimer m_paintClock;
    // Rows of an asynchronous walk go into the view in batches, so that the
    // view lays out and paints once per batch instead of once per row.
    QList<QTreeWidgetItem *> m_queuedRows;
    QTimer m_flushTimer;
};
