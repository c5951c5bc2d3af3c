// The spanning-tree dialog and the summer-time dialog with the agent's
// values, the summer-time rule shown as its repeating pair.

#include "ShotSupport.h"

#include "dialogs/dedicated/TSTP_Info.h"
#include "dialogs/dedicated/TSummerTimeForm.h"
#include "dialogs/generic/TEditsPanel.h"
#include "dialogs/generic/TSNMPEditorPanel.h"
#include "dialogs/registry/KtMainWindowServices.h"

#include <QComboBox>

namespace {

class Services : public KtMainWindowServices
{
public:
    QWidget *Window() override { return nullptr; }
    QString HostText() const override { return KtSNMPSession::Device().Host; }
    void ShowStatus(const QString &) override {}
    QString StpVersionText() const override { return m_stp; }
    void SetStpVersionText(const QString &text) override { m_stp = text; }

private:
    QString m_stp = QStringLiteral("rstp");
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!Shot::AimAtAgent(QStringLiteral("boots")))
        return 1;
    Services main;
    bool ok = true;
    {
        TSTP_Info stp(&main);
        stp.show();
        Shot::Settle(500);
        ok &= Shot::Save(&stp, QStringLiteral("dedicated-stp"));
    }
    {
        TSummerTimeForm summer(&main);
        summer.show();
        Shot::Settle(500);
        ok &= Shot::Save(&summer, QStringLiteral("dedicated-summer-time"));
    }
    return ok ? 0 : 1;
}
