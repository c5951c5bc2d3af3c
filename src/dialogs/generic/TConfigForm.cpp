#include "dialogs/generic/TConfigForm.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/KtBindingWait.h"
#include "dialogs/generic/KtPlacement.h"
#include "dialogs/generic/TSNMPListViewPanel.h"
#include "dialogs/generic/TSNMPPanel.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTabWidget>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcConfigForm, "qsx.dialogs.configform")

TConfigForm::TConfigForm(QWidget *owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("ConfigForm"));
    resize(159, 105);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    QCoreApplication::postEvent(this, new QEvent(RefreshEvent()));
}

TConfigForm::~TConfigForm()
{
    // A form deleted without being closed stops its bindings without waiting;
    // answers still on their way are dropped by the bindings' links.
    for (auto &b : EditsList)
        b->Request.Alive = false;
    EditsList.clear();
}

QEvent::Type TConfigForm::RefreshEvent()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

bool TConfigForm::event(QEvent *e)
{
    if (e->type() != RefreshEvent())
        return QDialog::event(e);
    m_refreshed = true;
    try {
        RefreshActive();
    } catch (const KtException &ex) {
        qCWarning(lcConfigForm, "%s", qPrintable(ex.message()));
    }
    return true;
}

void TConfigForm::showEvent(QShowEvent *e)
{
    if (!m_placed) {
        m_placed = true;
        KtPlacement::CentreOn(this, KtPlacement::MainWindow());
    }
    QDialog::showEvent(e);
}

KtSNMPRequest2Edits *TConfigForm::adopt(KtSNMPRequest2Edits *binding)
{
    if (!binding)
        throw KtException(-1, QStringLiteral("TConfigForm: no binding given"));
    EditsList.emplace_back(binding);
    return binding;
}

// A binding handed over with a call in the wrong order is still the form's to delete.
void TConfigForm::requireType(quint8 type, const char *message, KtSNMPRequest2Edits *binding)
{
    if (FormType == type)
        return;
    if (binding)
        m_refused.emplace_back(binding);
    throw KtException(-1, QString::fromLatin1(message));
}

void TConfigForm::growTo(const QSize &size)
{
    resize(this->size().expandedTo(size).boundedTo(QSize(TSNMPPanel::MaxFormWidth, TSNMPPanel::MaxFormHeight)));
}

void TConfigForm::setStatus(TSNMPListViewPanel *panel, int addColumn, const QString &addValue, int deleteColumn,
                            const QString &deleteValue)
{
    if (!addValue.isEmpty())
        panel->SetAddStatus(addColumn, addValue);
    if (!deleteValue.isEmpty())
        panel->SetDeleteStatus(deleteColumn, deleteValue);
}

TSNMPEditorPanel *TConfigForm::SetEditorPanel(KtSNMPRequest2Edits *binding)
{
    requireType(None, "Can not change Type of a Config Form!", binding);
    FormType = Editor;
    auto *panel = new TSNMPEditorPanel(this, adopt(binding));
    panel->AttachToForm(this);
    growTo(panel->sizeHint());
    return panel;
}

TSNMPListViewPanel *TConfigForm::SetListViewPanel(KtSNMPRequest2Edits *binding, int addColumn,
                                                  const QString &addValue, int deleteColumn,
                                                  const QString &deleteValue)
{
    requireType(None, "Can not change Type of a Config Form!", binding);
    FormType = ListView;
    auto *panel = new TSNMPListViewPanel(this, adopt(binding));
    panel->AttachToForm(this);
    setStatus(panel, addColumn, addValue, deleteColumn, deleteValue);
    growTo(panel->sizeHint());
    return panel;
}

void TConfigForm::MakePaged()
{
    requireType(None, "Can not change Type of a Config Form!");
    FormType = Paged;
    Pages = new QTabWidget(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    // Every tab stays in sight instead of scrolling away.
    Pages->setUsesScrollButtons(false);
    Pages->setElideMode(Qt::ElideNone);
    layout()->addWidget(Pages);
    connect(Pages, &QTabWidget::currentChanged, this, [this] {
        // The first read belongs to the posted event, after the tailoring.
        if (!m_refreshed)
            return;
        try {
            RefreshActive();
        } catch (const KtException &ex) {
            qCWarning(lcConfigForm, "%s", qPrintable(ex.message()));
        }
    });
}

QWidget *TConfigForm::addPage(const QString &title)
{
    auto *page = new QWidget;
    page->setProperty("tag", Pages->count());
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    Pages->addTab(page, title);
    return page;
}

void TConfigForm::finishPage(QWidget *)
{
    growTo(Pages->sizeHint());
}

TSNMPEditorPanel *TConfigForm::AddEditorPage(const QString &title, KtSNMPRequest2Edits *binding)
{
    requireType(Paged, "Can not add editor page to a none-page pannel!", binding);
    QWidget *page = addPage(title);
    auto *panel = new TSNMPEditorPanel(page, adopt(binding));
    panel->AttachToForm(this);
    finishPage(page);
    return panel;
}

TSNMPListViewPanel *TConfigForm::AddListViewPage(const QString &title, KtSNMPRequest2Edits *binding, int addColumn,
                                                 const QString &addValue, int deleteColumn,
                                                 const QString &deleteValue)
{
    requireType(Paged, "Can not add listview page to a none-page pannel!", binding);
    QWidget *page = addPage(title);
    auto *panel = new TSNMPListViewPanel(page, adopt(binding));
    panel->PageTitle = title;
    panel->AttachToForm(this);
    setStatus(panel, addColumn, addValue, deleteColumn, deleteValue);
    finishPage(page);
    return panel;
}

KtSNMPRequest2Edits *TConfigForm::VisibleBinding() const
{
    switch (FormType) {
    case Editor:
    case ListView:
        return EditsList.empty() ? nullptr : EditsList.front().get();
    case Paged: {
        if (!Pages || Pages->count() == 0 || !Pages->currentWidget())
            return nullptr;
        const int tag = Pages->currentWidget()->property("tag").toInt();
        return tag >= 0 && size_t(tag) < EditsList.size() ? EditsList.at(size_t(tag)).get() : nullptr;
    }
    default:
        return nullptr;
    }
}

void TConfigForm::RefreshActive()
{
    if (FormType == None || m_closed)
        return;
    if (FormType > Paged)
        throw KtException(-1, QStringLiteral("Refresh a Form with unknown Form Type!"));
    KtSNMPRequest2Edits *binding = VisibleBinding();
    if (!binding)
        return;
    // The page left stops its walk the way Stop does, so that its binding
    // ends like a finished one (rows kept, Busy cleared, the status line
    // told) instead of waiting for an answer that would be dropped.
    if (ActiveBinding && ActiveBinding != binding)
        ActiveBinding->StopRead();
    ActiveBinding = binding;
    // A walk stopped earlier may still wait for its last answer; a new walk
    // must not run beside it.
    if (!KtBindingWait::Quiet(*binding))
        KtBindingWait::Wait({binding}, KtBindingWait::AnswerBoundMs(*binding));
    binding->Request.Alive = true;
    try {
        binding->Read();
    } catch (const KtException &e) {
        binding->ShowStatus(e.message());
    }
}

void TConfigForm::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    QList<KtSNMPRequest2Controls *> bindings;
    int bound = 0;
    for (auto &b : EditsList) {
        b->Request.Alive = false;
        bindings.append(b.get());
        bound = qMax(bound, KtBindingWait::AnswerBoundMs(*b));
    }
    if (!KtBindingWait::Wait(bindings, bound))
        qCWarning(lcConfigForm, "closing with answers still outstanding");
    EditsList.clear();
    m_refused.clear();
    ActiveBinding = nullptr;
}

void TConfigForm::done(int result)
{
    const bool first = !m_closed;
    FormClose();
    if (first && AfterClose)
        AfterClose(this);
    QDialog::done(result);
}
