// The front panel's ports against the agent: a selection of three ports,
// then the utilisation overlay after two reads.

#include "ShotSupport.h"

#include "ports/widgets/KtPortPanel.h"
#include "shell/TMainForm.h"

#include <QElapsedTimer>
#include <QLabel>

namespace {

bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        Shot::Settle(50);
    return done();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!Shot::AimAtAgent(QStringLiteral("boots")))
        return 1;
    const QStringList arguments{QStringLiteral("/I") + KtSNMPSession::Device().Host,
                                QStringLiteral("/t%1").arg(KtSNMPSession::Device().AgentPort),
                                QStringLiteral("/v1"), QStringLiteral("/Rcobalt"), QStringLiteral("/Wlantern")};
    TMainForm form;
    if (!form.FormCreate(arguments, QApplication::applicationDirPath()))
        return 1;
    form.show();
    KtPortPanel *ports = form.PortPanel();
    int reads = 0;
    QObject::connect(ports, &KtPortPanel::portsRead, [&reads] { ++reads; });
    if (!waitFor([&] { return reads > 0; }, 15000)) {
        std::fprintf(stderr, "no port reading: %s\n", qPrintable(form.StatusPanel()->text()));
        return 1;
    }
    ports->SetSelected({3, 4, 5});
    ports->PortWidget(5)->setFocus();
    Shot::Settle(700);
    if (!Shot::Save(&form, QStringLiteral("ports-selection")))
        return 1;
    ports->SetSelected({});
    ports->SetMode(KtPortOverlay::Utilisation);
    const int seen = reads;
    if (!waitFor([&] { return reads >= seen + 1; }, 15000))
        return 1;
    ports->PollNow();
    if (!waitFor([&] { return reads >= seen + 2; }, 15000))
        return 1;
    Shot::Settle(300);
    return Shot::Save(&form, QStringLiteral("ports-utilisation")) ? 0 : 1;
}
