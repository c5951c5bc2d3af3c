// The connection test's report: an SNMPv3 user whose privacy pass phrase is wrong.

#include "ShotSupport.h"

#include "doctor/widgets/TConnectionTestForm.h"

#include <QElapsedTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!Shot::AimAtAgent(QStringLiteral("boots")))
        return 1;
    KtDoctorSettings settings = KtDoctorSettings::FromSession();
    settings.version = 3;
    settings.securityName = QStringLiteral("MD5_DES_User");
    settings.securityLevel = 3;
    settings.authProtocol = 2;
    settings.privProtocol = 2;
    settings.authPassword = QStringLiteral("qsx4810auth");
    settings.privPassword = QStringLiteral("not-the-priv-pass");
    settings.timeout = 100;
    TConnectionTestForm form(settings, settings.host);
    form.show();
    form.Test();
    QElapsedTimer clock;
    clock.start();
    while (!form.Report().finished && clock.elapsed() < 20000)
        Shot::Settle(50);
    if (!form.Report().FailedStep()) {
        std::fprintf(stderr, "the test did not fail as it should:\n%s", qPrintable(form.Report().Text()));
        return 1;
    }
    Shot::Settle(200);
    return Shot::Save(&form, QStringLiteral("connection-test")) ? 0 : 1;
}
