#include "ports/KtMultiPortWrite.h"

#include "ports/KtPortMap.h"

#include "bindings/KtRequestLink.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPError.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"

KtMultiPortWrite::KtMultiPortWrite(QObject *parent) : QObject(parent) {}

KtMultiPortWrite::~KtMultiPortWrite() = default;

KtSNMPVarList KtMultiPortWrite::SetList(const KtPortColumn &column, const QList<int> &ports, const QString &valueText)
{
    KtSNMPVarList vars;
    vars.Kind = KtKind::MVT_SV;
    for (int port : ports) {
        vars.AppendVarShared(column.Var.Oid + QLatin1Char('.') + column.RowOf(port), QStringLiteral("Port %1").arg(port),
                             column.Var.Type, column.Var.Access, column.Var.Options);
        vars.Get(vars.Count() - 1).Value = valueText;
    }
    return vars;
}

bool KtMultiPortWrite::Start(const KtPortColumn &column, const QList<int> &ports, const QString &valueText)
{
    if (Busy() || ports.isEmpty() || valueText.isEmpty())
        return false;
    m_column = column;
    m_ports = ports;
    m_value = valueText;
    m_before.clear();
    m_after.clear();
    m_refusal.clear();
    m_link = std::make_unique<KtRequestLink>([this](bool read, const KtSNMPError &r) { answered(read, r); },
                                             [this](bool, const KtException &e) { failed(e.message()); });
    m_link->Request().Vars = SetList(column, ports);
    m_step = Step::ReadBefore;
    try {
        m_link->FetchAsync(true);
    } catch (const KtException &e) {
        m_step = Step::Idle;
        m_link.reset();
        emit finished(false, e.message());
        return false;
    }
    return true;
}

QStringList KtMultiPortWrite::values() const
{
    QStringList result;
    const KtSNMPVarList &vars = m_link->Request().Vars;
    for (int i = 0; i < vars.Count(); ++i)
        result << vars.Get(i).Value;
    return result;
}

QList<int> KtMultiPortWrite::portsWithout(const QStringList &values) const
{
    QList<int> missing;
    for (qsizetype i = 0; i < m_ports.size(); ++i) {
        const QString v = values.value(i);
        if (i >= values.size() || v == QLatin1String("(NULL)") || v == QLatin1String("(NOTDONE)"))
            missing << m_ports[i];
    }
    return missing;
}

QString KtMultiPortWrite::refusedText(const KtSNMPError &result) const
{
    const int k = result.ErrorIndex - 1;
    if (k < 0 || k >= m_ports.size())
        return QStringLiteral("The switch refused %1 = \"%2\": %3").arg(m_column.Caption(), m_value, result.Message);
    return QStringLiteral("The switch refused %1 of port %2 (%3.%4) = \"%5\": %6")
        .arg(m_column.Caption())
        .arg(m_ports[k])
        .arg(m_column.Var.Oid, m_column.RowOf(m_ports[k]), m_value, result.Message);
}

void KtMultiPortWrite::answered(bool read, const KtSNMPError &result)
{
    KtSNMPRequest &request = m_link->Request();
    switch (m_step) {
    case Step::ReadBefore:
        if (result.Code != 0)
            return failed(result.Message);
        m_before = values();
        if (const QList<int> missing = portsWithout(m_before); !missing.isEmpty())
            return failed(QStringLiteral("Ports %1 have no row in %2: nothing was written.")
                              .arg(KtPortMap::RangeText(missing), m_column.Section));
        for (int i = 0; i < request.Vars.Count(); ++i)
            request.Vars.Get(i).Value = m_value;
        m_step = Step::Write;
        m_link->StoreAsync({}, {});
        return;
    case Step::Write:
        if (result.Code != 0)
            m_refusal = refusedText(result);
        m_step = Step::ReadAfter;
        m_link->FetchAsync(true);
        return;
    case Step::ReadAfter: {
        if (result.Code != 0)
            return failed((m_refusal.isEmpty() ? QString() : m_refusal + QStringLiteral(". "))
                          + QStringLiteral("The ports could not be read back: ") + result.Message);
        m_after = values();
        QList<int> changed;
        QList<int> missed;
        for (qsizetype i = 0; i < m_ports.size(); ++i) {
            if (m_after.value(i) != m_before.value(i))
                changed << m_ports[i];
            if (m_after.value(i) != m_value)
                missed << m_ports[i];
        }
        if (!m_refusal.isEmpty()) {
            if (changed.isEmpty())
                return done(false, m_refusal + QStringLiteral(". No port was changed."));
            return done(false, m_refusal + QStringLiteral(". Changed nevertheless: ports %1.")
                                   .arg(KtPortMap::RangeText(changed)));
        }
        if (!missed.isEmpty())
            return done(false, QStringLiteral("%1 = \"%2\" was taken, but ports %3 read back otherwise.")
                                   .arg(m_column.Caption(), m_value, KtPortMap::RangeText(missed)));
        return done(true, QStringLiteral("%1 = \"%2\" set on ports %3.")
                              .arg(m_column.Caption(), m_value, KtPortMap::RangeText(m_ports)));
    }
    case Step::Idle:
        break;
    }
    Q_UNUSED(read);
}

void KtMultiPortWrite::failed(const QString &message)
{
    done(false, message);
}

void KtMultiPortWrite::done(bool ok, const QString &message)
{
    m_step = Step::Idle;
    emit finished(ok, message);
}
