#include "ports/widgets/TPortPageForm.h"

#include "ports/KtPortPage.h"
#include "ports/widgets/KtPortRowFinder.h"
#include "ports/widgets/TPortListSection.h"
#include "ports/widgets/TPortRowSection.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/KtBindingWait.h"
#include "dialogs/generic/KtSlotGuard.h"
#include "dialogs/generic/TMsgPanel.h"
#include "errors/KtException.h"
#include "shell/catalogue/KtMenuCatalogue.h"
#include "snmp/KtSNMPRequest.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int DefaultWidth = 800;
constexpr int DefaultHeight = 550;
} // namespace

QString TPortPageForm::Caption(int port, const QString &host)
{
    return QStringLiteral("Port %1 : %2").arg(port).arg(host);
}

QString TPortPageForm::ObjectName(int port)
{
    return QStringLiteral("PortPage%1").arg(port);
}

TPortPageForm::TPortPageForm(int port, const QString &host, QWidget *owner, const QList<KtPortTable> &tables)
    : QDialog(owner), m_port(port), m_host(host), m_scroll(new QScrollArea(this)), m_sectionsWidget(new QWidget),
      m_messages(new TMsgPanel(this)), m_refresh(new QPushButton(tr("&Refresh All"), this))
{
    setObjectName(ObjectName(port));
    setWindowTitle(Caption(port, host));
    setModal(false);

    auto *sections = new QVBoxLayout(m_sectionsWidget);
    const KtMenuCatalogue &catalogue = KtMenuCatalogue::Instance();
    for (const KtPortTable &t : tables) {
        const QString caption = KtPortTables::Caption(t, catalogue);
        // Each table keeps its place, whenever its rows arrive.
        auto *place = new QVBoxLayout;
        place->setContentsMargins(0, 0, 0, 0);
        sections->addLayout(place);
        if (t.kind == KtPortTable::Index && KtPortPage::Direct(t)) {
            addSection(new TPortRowSection(t, port, caption, KtPortPage::DirectSuffix(t, port),
                                           KtPortTables::Panel(t, catalogue), m_sectionsWidget),
                       place);
            continue;
        }
        TPortListSection *list = nullptr;
        if (t.kind == KtPortTable::Bitmap) {
            list = new TPortListSection(t, port, caption, m_sectionsWidget);
            addSection(list, place);
            if (t.indexCount == 0) {
                list->AddRow(QString());
                continue;
            }
        }
        auto finder = std::make_unique<KtPortRowFinder>(t, port, this);
        KtPortRowFinder *f = finder.get();
        f->Request.Vars.DisplayName = caption;
        connect(f, &KtPortRowFinder::Found, this, [this, f, place](const QStringList &rows) { rowsFound(f, place, rows); });
        m_finders.push_back(std::move(finder));
    }
    sections->addStretch(1);
    m_scroll->setWidget(m_sectionsWidget);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFocusPolicy(Qt::NoFocus);

    auto *close = new QPushButton(tr("&Close"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_refresh, &QPushButton::clicked, this, &TPortPageForm::RefreshAll);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_refresh);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(m_messages);
    layout->addLayout(buttons);
    resize(DefaultWidth, DefaultHeight);
}

TPortPageForm::~TPortPageForm()
{
    FormClose();
}

void TPortPageForm::addSection(TPortSection *section, QVBoxLayout *place)
{
    section->SetStatusTarget(m_messages->Memo);
    connect(section, &TPortSection::openEntry, this, &TPortPageForm::openEntry);
    place->addWidget(section);
    m_sections.append(section);
}

void TPortPageForm::rowsFound(KtPortRowFinder *finder, QVBoxLayout *place, const QStringList &rows)
{
    --m_walking;
    if (m_closed)
        return;
    const KtPortTable &t = finder->Table();
    if (t.kind == KtPortTable::Bitmap) {
        auto *list = qobject_cast<TPortListSection *>(FindSection(t.table));
        if (!list)
            return;
        for (const QString &row : rows)
            KtRunGuarded(this, finder, [&] { list->AddRow(row); });
        list->SetStatusTarget(m_messages->Memo);
        list->Read();
    } else {
        const KtMenuCatalogue &catalogue = KtMenuCatalogue::Instance();
        const QString caption = KtPortTables::Caption(t, catalogue);
        for (const QString &row : rows) {
            KtRunGuarded(this, finder, [&] {
                KtSNMPVarList vars;
                KtPortPage::LoadRow(vars, t, row);
                const QString index = KtPortPage::IndexText(vars);
                auto *section = new TPortRowSection(t, m_port, QStringLiteral("%1 (%2)").arg(caption, index), row,
                                                    KtPortTables::Panel(t, catalogue), m_sectionsWidget);
                addSection(section, place);
                section->Read();
            });
        }
    }
    emit sectionsAdded(t.table);
}

QList<TPortSection *> TPortPageForm::Sections() const
{
    QList<TPortSection *> all;
    for (const QPointer<TPortSection> &s : m_sections)
        if (s)
            all.append(s);
    return all;
}

TPortSection *TPortPageForm::FindSection(const QString &table, const QString &suffix) const
{
    for (TPortSection *s : Sections()) {
        if (s->Table().table != table)
            continue;
        const auto *row = qobject_cast<TPortRowSection *>(s);
        if (suffix.isEmpty() || (row && row->RowSuffix() == suffix))
            return s;
    }
    return nullptr;
}

void TPortPageForm::RefreshAll()
{
    if (m_closed)
        return;
    for (TPortSection *s : Sections())
        s->Read();
    if (std::exchange(m_shown, true))
        return;
    for (const auto &f : m_finders) {
        ++m_walking;
        KtRunGuarded(this, f.get(), [&] {
            f->SetStatusTarget(m_messages->Memo);
            f->Read();
            if (!f->Busy)
                --m_walking;
        });
    }
}

bool TPortPageForm::Idle() const
{
    if (!m_shown || m_walking > 0)
        return false;
    for (TPortSection *s : Sections())
        for (KtSNMPRequest2Edits *b : s->Bindings())
            if (KtBindingWait::Running(*b))
                return false;
    return true;
}

void TPortPageForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown)
        QTimer::singleShot(0, this, [this] {
            if (!m_shown)
                RefreshAll();
        });
}

void TPortPageForm::FormClose()
{
    if (std::exchange(m_closed, true))
        return;
    QList<KtSNMPRequest2Controls *> bindings;
    int bound = 0;
    for (const auto &f : m_finders) {
        f->Request.Alive = false;
        bindings.append(f.get());
        bound = qMax(bound, KtBindingWait::AnswerBoundMs(*f));
    }
    for (TPortSection *s : Sections())
        for (KtSNMPRequest2Edits *b : s->Bindings()) {
            b->Request.Alive = false;
            bindings.append(b);
            bound = qMax(bound, KtBindingWait::AnswerBoundMs(*b));
        }
    KtBindingWait::Wait(bindings, bound);
}

void TPortPageForm::done(int result)
{
    FormClose();
    QDialog::done(result);
}
