// The main window against the agent, after the first LED reading.

#include "ShotSupport.h"

#include "shell/TMainForm.h"

#include <QElapsedTimer>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!Shot::AimAtAgent(QStringLiteral("boots")))
        return 1;
    const QStringList arguments{
        QStringLiteral("/I") + KtSNMPSession::Device().Host, QStringLiteral("/v3"),
        QStringLiteral("/t%1").arg(KtSNMPSession::Device().AgentPort), QStringLiteral("/nSHA_DES_User"),
        QStringLiteral("/l3"), QStringLiteral("/a3"), QStringLiteral("/p2"), QStringLiteral("/Aqsx4810auth"),
        QStringLiteral("/Pqsx4810priv")};
    TMainForm form;
    if (!form.FormCreate(arguments, QApplication::applicationDirPath()))
        return 1;
    form.show();
    QElapsedTimer clock;
    clock.start();
    while (!form.StatusPanel()->text().startsWith(QStringLiteral("Get: Ok!")) && clock.elapsed() < 15000)
        Shot::Settle(50);
    if (!form.StatusPanel()->text().startsWith(QStringLiteral("Get: Ok!"))) {
        std::fprintf(stderr, "no LED reading: %s\n", qPrintable(form.StatusPanel()->text()));
        return 1;
    }
    // Past the blinking that follows the reading, so every lit LED shows.
    Shot::Settle(700);
    return Shot::Save(&form, QStringLiteral("mainwindow")) ? 0 : 1;
}
