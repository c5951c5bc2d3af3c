// The real program on an X server with a window manager, driven only from
// outside by keys: every menu entry that opens a window is found with Find
// entry and opened; its window must come with the entry's caption, be
// painted, close on Escape, and leave the main window's status line alive.

#include "support/AgentProcess.h"
#include "support/HelperProgram.h"
#include "support/PaintCheck.h"
#include "support/XServer.h"
#include "support/XWindows.h"

#include "shell/catalogue/KtEntryMatch.h"
#include "shell/catalogue/KtMenuCatalogue.h"

#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <functional>

namespace {

const QString Host = QStringLiteral("127.0.0.1");
const QString MainTitle = QStringLiteral("QSX-4810 : 127.0.0.1");
// The limits a user would notice; a busy machine gets more through QSX_TIME_FACTOR.
constexpr int AppearMs = 2000;
constexpr int PaintMs = 2000;
// The LEDs are read every 3 s; their line must change within this time.
constexpr int StatusMs = 10000;
// A window must stay painted until its picture has not changed for this long:
// a picture lost at once (a resize or a paint swallowed) is no picture.
constexpr int SettleMs = 100;
// Between the keys of what is typed into Find entry.
constexpr int KeyDelayMs = 1;

int scaled(int ms)
{
    return ms * qMax(1, qEnvironmentVariableIntValue("QSX_TIME_FACTOR"));
}

struct Target
{
    const KtMenuEntry *entry;
    QString caption;  // of its window
    QString typed;    // into Find entry
};

// Windows whose caption is not the entry's caption prefix and the host.
QString fixedCaption(const KtMenuEntry &e)
{
    static const QHash<QString, QString> byName{
        {QStringLiteral("SaveConfig"), QStringLiteral("Save Configure")},
        {QStringLiteral("Reset"), QStringLiteral("Reboot")},
        {QStringLiteral("H1"), QStringLiteral("QSX-4810 Help")},
        {QStringLiteral("About1"), QStringLiteral("About")},
        {QStringLiteral("TestConnection1"), QStringLiteral("Test Connection : ") + Host},
        {QStringLiteral("BridgeSTPInformation"), QStringLiteral("Spanning Tree Control : ") + Host},
        {QStringLiteral("DaylightSavingTimeSummerTime1"), QStringLiteral("Summer Time : ") + Host},
        {QStringLiteral("RouteRedistributionTable1"), QStringLiteral("Route Redistribution Table: ") + Host},
        {QStringLiteral("CurrentTime1"), QStringLiteral("Current Time: ") + Host},
        {QStringLiteral("BasicInformation2"), QStringLiteral("Equipment Basic Information :") + Host},
        {QStringLiteral("IFCounter1"), QStringLiteral("IF Counters : ") + Host},
        {QStringLiteral("IPCounter1"), QStringLiteral("IP Counters : ") + Host},
        {QStringLiteral("ICMPCounter1"), QStringLiteral("ICMP Counters : ") + Host},
        {QStringLiteral("UDPCounter1"), QStringLiteral("UDP Counters : ") + Host},
        {QStringLiteral("SNMPCounter1"), QStringLiteral("SNMP Counters : ") + Host},
        {QStringLiteral("PortCounters1"), QStringLiteral("Transparent Bridge Port Counter : ") + Host},
        {QStringLiteral("IPRouting1"), QStringLiteral("IP Routing : ") + Host},
        {QStringLiteral("BackUpConfiguration1"), QStringLiteral("Back Up Configuration")},
        {QStringLiteral("CompareWithSwitch1"), QStringLiteral("Compare with Switch")},
        {QStringLiteral("Changes1"), QStringLiteral("Unsaved Changes : ") + Host},
    };
    return byName.value(e.name(), e.hasCaptionPrefix() ? e.dialogCaption(Host) : e.caption() + QStringLiteral(" : ") + Host);
}

QString words(const QString &text)
{
    return text.toLower().split(QRegularExpression(QStringLiteral("[^a-z0-9]+")), Qt::SkipEmptyParts).join(QLatin1Char(' '));
}

bool shown(const KtMenuEntry &e)
{
    for (const KtMenuEntry *p = &e; p; p = p->parent())
        if (p->hidden())
            return false;
    return e.action() != KtMenuEntry::Submenu
           && !(e.action() == KtMenuEntry::MainWindow && e.mainAction() == KtMenuEntry::SNMPConfigure);
}

// Every shown entry that opens a window and is wanted, with the shortest words
// that make Find entry pick it first (siblings are not installed, so never picked).
QList<Target> targets(QStringList *unreachable, const std::function<bool(const KtMenuEntry &)> &wanted)
{
    const KtMenuCatalogue &catalogue = KtMenuCatalogue::Instance();
    QList<const KtMenuEntry *> pickable;
    for (int i = 0; i < catalogue.count(); ++i)
        if (shown(catalogue.at(i)) && catalogue.at(i).action() != KtMenuEntry::Sibling)
            pickable.append(&catalogue.at(i));
    const auto first = [&](const QString &typed) {
        const KtMenuEntry *best = nullptr;
        int rank = KtEntryMatch::NoMatch;
        for (const KtMenuEntry *e : pickable)
            if (const int r = KtEntryMatch::Match(e->path(), typed); r > rank)
                best = e, rank = r;
        return best;
    };
    QList<Target> list;
    for (const KtMenuEntry *e : pickable) {
        if (e->action() == KtMenuEntry::NoAction || !wanted(*e))
            continue;
        const QString caption = words(e->caption()), path = words(e->path());
        const QString typed = first(caption) == e ? caption : first(path) == e ? path : QString();
        if (typed.isEmpty())
            unreachable->append(e->path() + QStringLiteral(" (gives ") + first(path)->path() + QLatin1Char(')'));
        else
            list.append({e, fixedCaption(*e), typed});
    }
    return list;
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_run;
    QDir m_output;
    AgentProcess m_agent;

    // The host application's settings and profile, as scripts/run writes
    // them, but SNMPv3, so that the SNMPv3 entries open too.
    bool writeProfile()
    {
        QDir run(m_run.path());
        if (!run.mkpath(QStringLiteral("config/Orvix")) || !run.mkpath(QStringLiteral("hexmon/Conf/MBF"))
            || !run.mkpath(QStringLiteral("hexmon/bin")))
            return false;
        QFile settings(run.filePath(QStringLiteral("config/Orvix/Hexmon5.1.conf")));
        QFile profile(run.filePath(QStringLiteral("hexmon/Conf/MBF/127.0.0.1.cfg")));
        return settings.open(QIODevice::WriteOnly) && profile.open(QIODevice::WriteOnly)
               && settings.write("[ExePath]\nPath=" + QFile::encodeName(run.filePath(QStringLiteral("hexmon/bin"))) + "\n") > 0
               && profile.write(QStringLiteral("[Program Information]\r\nVersion=3\r\nAgentPort=%1\r\nSecurityName=noAuthUser")
                                    .arg(m_agent.port()).toLatin1()) > 0;
    }

    bool startModule(HelperProgram &module, const XServer &x, const XWindows &windows, const QString &scale)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), x.display());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_run.filePath(QStringLiteral("config")));
        // Its single-instance lock: another test may run the module for the same host.
        env.insert(QStringLiteral("TMPDIR"), m_run.path());
        module.process().setWorkingDirectory(m_run.path());
        return module.launch(QStringLiteral(QSX_MODULE), {QStringLiteral("/I") + Host}, env, [&] { return windows.find(MainTitle) && PaintCheck::Unpainted(windows.grab(windows.find(MainTitle))).isEmpty(); },
                             120000);
    }

    // The window comes active and painted; its grab, or why not (the grab kept).
    static QString openedPainted(const XWindows &windows, const QString &caption, QImage *grab, qint64 *ms)
    {
        QElapsedTimer clock;
        clock.start();
        XWindows::Id id = 0;
        if (!XWindows::waitFor([&] { return (id = windows.find(caption)) != 0; }, scaled(AppearMs))) {
            QStringList seen;
            for (const XWindows::Window &w : windows.windows())
                seen << QLatin1Char('"') + w.title + QLatin1Char('"');
            *grab = windows.grab(windows.active());
            return QStringLiteral("no window in %1 ms (windows: %2)").arg(scaled(AppearMs)).arg(seen.join(QLatin1String(", ")));
        }
        const qint64 appeared = clock.elapsed();
        QString why;
        XWindows::waitFor([&] { return (why = PaintCheck::Unpainted(*grab = windows.grab(id))).isEmpty(); }, scaled(PaintMs));
        *ms = clock.elapsed();
        if (!why.isEmpty())
            return QStringLiteral("appeared after %1 ms, not painted %2 ms later: %3").arg(appeared).arg(scaled(PaintMs)).arg(why);
        // Every picture until the repaints have settled must be painted too.
        QImage last = *grab;
        QElapsedTimer unchanged;
        unchanged.start();
        XWindows::waitFor([&] {
            const QImage now = windows.grab(id);
            if (!(why = PaintCheck::Unpainted(now)).isEmpty()) {
                *grab = now;
                return true;
            }
            if (now != last)
                last = now, unchanged.restart();
            return unchanged.elapsed() >= SettleMs;
        }, scaled(PaintMs));
        if (!why.isEmpty())
            return QStringLiteral("painted after %1 ms, no longer %2 ms later: %3").arg(*ms).arg(clock.elapsed() - *ms).arg(why);
        *grab = last;
        return {};
    }

    // Escape, or the window manager's Close if that does not do it; empty when it closed.
    static QString closeWindow(const XWindows &windows, const QString &caption)
    {
        const XWindows::Id id = windows.find(caption);
        const bool focused = XWindows::waitFor([&] { return windows.active() == id; }, scaled(AppearMs));
        windows.send({QStringLiteral("key"), QStringLiteral("Escape")});
        if (XWindows::waitFor([&] { return !windows.find(caption); }, scaled(AppearMs)))
            return {};
        windows.close(id);
        const bool closed = XWindows::waitFor([&] { return !windows.find(caption); }, scaled(AppearMs));
        return QStringLiteral("Escape did not close it%1%2").arg(focused ? "" : " (it never had the keyboard)", closed ? "; Close did" : "; nor did Close");
    }

    // The status strip at the main window's foot.
    static QImage statusLine(const XWindows &windows, int scale)
    {
        const QImage all = windows.grab(windows.find(MainTitle));
        return all.isNull() ? all : all.copy(0, all.height() - 20 * scale, all.width(), 20 * scale);
    }

    QString keep(const QString &name, const QImage &grab)
    {
        const QString file = m_output.filePath(QString(name).replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("_")) + QStringLiteral(".png"));
        return grab.save(file) ? file : QStringLiteral("(no grab)");
    }

    // Closes the main window through the window manager and answers Yes.
    static bool exitModule(HelperProgram &module, const XWindows &windows)
    {
        windows.close(windows.find(MainTitle));
        if (!XWindows::waitFor([&] { return windows.active() && windows.title(windows.active()) == QLatin1String("Exit"); }, scaled(10000)))
            return false;
        windows.send({QStringLiteral("key"), QStringLiteral("Return")});
        return module.process().waitForFinished(scaled(30000)) && module.process().exitStatus() == QProcess::NormalExit
               && module.process().exitCode() == 0;
    }

    // At this scale, on a screen to match: the pictures of these dialogs, opened
    // and closed one after another, then of the main window; null where one failed.
    QList<QImage> pictures(int scale, const QList<Target> &dialogs, QStringList *failures)
    {
        XServer x;
        XWindows::Id main = 0;
        QList<QImage> list;
        if (!x.start(1400 * scale, 1000 * scale)) {
            failures->append(QStringLiteral("scale %1: no X server").arg(scale));
            return list;
        }
        XWindows windows(x.display());
        HelperProgram module(QStringLiteral("qsx4810"));
        if (!startModule(module, x, windows, QString::number(scale)) || !(main = windows.find(MainTitle))) {
            failures->append(QStringLiteral("scale %1: the module did not come up").arg(scale));
            return list;
        }
        for (const Target &t : dialogs) {
            QImage grab;
            qint64 ms = 0;
            QString why = findAndOpen(windows, t.typed) ? openedPainted(windows, t.caption, &grab, &ms)
                                                        : QStringLiteral("Find entry did not open");
            if (why.isEmpty())
                why = closeWindow(windows, t.caption);
            else
                why += QStringLiteral(", grab ") + keep(t.entry->name() + QStringLiteral("_scale%1").arg(scale), grab);
            if (!why.isEmpty())
                failures->append(QStringLiteral("%1 at scale %2: %3").arg(t.entry->path()).arg(scale).arg(why));
            list.append(why.isEmpty() ? grab : QImage());
        }
        // Last, when its status line has long had the LEDs' answer to show, once
        // it has the keyboard back and what the last dialog covered is drawn again.
        XWindows::waitFor([&] { return windows.active() == main; }, scaled(10000));
        list.append(still(windows, main));
        if (!exitModule(module, windows))
            failures->append(QStringLiteral("scale %1: the exit question did not end the program with 0").arg(scale));
        return list;
    }

    // The window's picture once it has not changed for a while (bounded).
    static QImage still(const XWindows &windows, XWindows::Id id)
    {
        QImage last = windows.grab(id);
        QElapsedTimer unchanged;
        unchanged.start();
        XWindows::waitFor([&] {
            if (const QImage now = windows.grab(id); now != last)
                last = now, unchanged.restart();
            return unchanged.elapsed() >= SettleMs;
        }, scaled(10000));
        return last;
    }

    // Once Find entry is up and painted, the words and Return go as one run of
    // keys, as a quick typist's: the dialog filters on each key before it
    // reads the next, so Return opens the best match of the whole text.
    bool findAndOpen(const XWindows &windows, const QString &typed)
    {
        const XWindows::Id main = windows.find(MainTitle);
        XWindows::Id find = 0;
        QStringList keys{QStringLiteral("key"), QStringLiteral("--delay"), QString::number(KeyDelayMs)};
        for (const QChar c : typed)
            keys << (c == QLatin1Char(' ') ? QStringLiteral("space") : QString(c));
        keys << QStringLiteral("Return");
        return XWindows::waitFor([&] { return windows.active() == main; }, scaled(10000))
               && windows.send({QStringLiteral("key"), QStringLiteral("ctrl+f")})
               && XWindows::waitFor([&] { return windows.title(find = windows.active()) == QLatin1String("Find entry"); }, scaled(10000))
               && XWindows::waitFor([&] { return PaintCheck::Unpainted(windows.grab(find)).isEmpty(); }, scaled(PaintMs))
               && windows.send(keys);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_run.isValid());
        m_output.setPath(QDir::current().filePath(QStringLiteral("tst_window-output")));
        m_output.removeRecursively();
        QVERIFY(m_output.mkpath(QStringLiteral(".")));
        QVERIFY(m_agent.start());
        QVERIFY(writeProfile());
    }

    void everyWindowPaintsAndCloses()
    {
        QStringList unreachable;
        // QSX_WINDOW_ENTRIES: a pattern of the paths to open, for a look at a few.
        const QRegularExpression only(qEnvironmentVariable("QSX_WINDOW_ENTRIES"), QRegularExpression::CaseInsensitiveOption);
        const QList<Target> list = targets(&unreachable, [&](const KtMenuEntry &e) { return only.match(e.path()).hasMatch(); });
        QVERIFY2(unreachable.isEmpty(), qPrintable(QStringLiteral("Find entry does not pick first: ") + unreachable.join(QLatin1String("; "))));
        XServer x;
        QVERIFY(x.start(1400, 1000));
        XWindows windows(x.display());
        HelperProgram module(QStringLiteral("qsx4810"));
        QVERIFY(startModule(module, x, windows, QStringLiteral("1")));

        QStringList failures;
        QImage status = statusLine(windows, 1);
        QElapsedTimer statusChanged;
        statusChanged.start();
        for (const Target &t : list) {
            QImage grab;
            qint64 ms = 0;
            QString why = findAndOpen(windows, t.typed) ? openedPainted(windows, t.caption, &grab, &ms)
                                                        : QStringLiteral("Find entry did not open");
            if (why.isEmpty()) {
                why = closeWindow(windows, t.caption);
            } else {
                why += QStringLiteral(", grab ") + keep(t.entry->name(), grab);
                // Whatever is open goes, so the next entry starts from the main window.
                XWindows::waitFor([&] {
                    const XWindows::Id a = windows.active();
                    if (a && windows.title(a) != MainTitle)
                        windows.send({QStringLiteral("key"), QStringLiteral("Escape")});
                    return windows.windows().size() == 1;
                }, scaled(10000));
            }
            if (why.isEmpty() && statusChanged.elapsed() > StatusMs / 2
                && !XWindows::waitFor([&] { return statusLine(windows, 1) != status; }, StatusMs))
                why = QStringLiteral("the main window's status line stands still");
            if (const QImage now = statusLine(windows, 1); now != status)
                status = now, statusChanged.restart();
            std::printf("%s %s (\"%s\", typed \"%s\", painted in %lld ms)%s%s\n", why.isEmpty() ? "ok  " : "FAIL",
                        qPrintable(t.entry->path()), qPrintable(t.caption), qPrintable(t.typed), ms,
                        why.isEmpty() ? "" : ": ", qPrintable(why));
            std::fflush(stdout);
            if (!why.isEmpty())
                failures << t.entry->path() + QStringLiteral(": ") + why;
        }
        // The front panel's own windows, from the keyboard: View, Tab to port 1,
        // on to port 7; Enter opens its page, Space selects it for Edit.
        const QList<QPair<QStringList, QString>> portWindows{
            {{QStringLiteral("alt+v"), QStringLiteral("Tab"), QStringLiteral("Right"), QStringLiteral("Right"),
              QStringLiteral("Right"), QStringLiteral("Right"), QStringLiteral("Right"), QStringLiteral("Right"),
              QStringLiteral("Return")},
             QStringLiteral("Port 7 : ") + Host},
            {{QStringLiteral("space"), QStringLiteral("alt+e")}, QStringLiteral("Edit Port 7 : ") + Host},
        };
        qint64 shown = list.size();
        for (const auto &[keys, caption] : portWindows) {
            ++shown;
            QImage grab;
            qint64 ms = 0;
            XWindows::waitFor([&] { return windows.active() == windows.find(MainTitle); }, scaled(10000));
            QString why = windows.send(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("20")} + keys)
                              ? openedPainted(windows, caption, &grab, &ms)
                              : QStringLiteral("xdotool failed");
            why = why.isEmpty() ? closeWindow(windows, caption) : why + QStringLiteral(", grab ") + keep(caption, grab);
            std::printf("%s %s (painted in %lld ms)%s%s\n", why.isEmpty() ? "ok  " : "FAIL", qPrintable(caption), ms,
                        why.isEmpty() ? "" : ": ", qPrintable(why));
            if (!why.isEmpty())
                failures << caption + QStringLiteral(": ") + why;
        }
        std::printf("%lld of %lld windows painted and closed\n", shown - failures.size(), shown);
        QVERIFY2(exitModule(module, windows), "the exit question did not end the program with 0");
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    }

    // At twice the scale the main window and a few dialogs with many, long and
    // single labels are painted and keep the layout they have at scale 1.
    void scaledWindowsKeepTheirLayout()
    {
        const QStringList names{QStringLiteral("BasicInformation1"), QStringLiteral("SNTP1"), QStringLiteral("FDBClearAllState1")};
        QStringList unreachable;
        const QList<Target> dialogs = targets(&unreachable, [&](const KtMenuEntry &e) { return names.contains(e.name()); });
        QCOMPARE(dialogs.size(), names.size());
        QStringList failures;
        const QList<QImage> one = pictures(1, dialogs, &failures);
        const QList<QImage> two = pictures(2, dialogs, &failures);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        QCOMPARE(one.size(), dialogs.size() + 1);
        QCOMPARE(two.size(), one.size());
        for (qsizetype i = 0; i < one.size(); ++i) {
            const QString name = i < dialogs.size() ? dialogs.at(i).entry->name() : QStringLiteral("MainWindow");
            QString why = PaintCheck::Unpainted(two.at(i));
            if (why.isEmpty())
                why = PaintCheck::LayoutChanged(one.at(i), two.at(i), 2);
            if (!why.isEmpty())
                why += QStringLiteral(", grabs %1 and %2").arg(keep(name + QStringLiteral("_scale1"), one.at(i)), keep(name + QStringLiteral("_scale2"), two.at(i)));
            std::printf("%s %s at scale 2 (%dx%d, %dx%d at scale 1)%s%s\n", why.isEmpty() ? "ok  " : "FAIL", qPrintable(name),
                        two.at(i).width(), two.at(i).height(), one.at(i).width(), one.at(i).height(), why.isEmpty() ? "" : ": ", qPrintable(why));
            std::fflush(stdout);
            if (!why.isEmpty())
                failures << name + QStringLiteral(": ") + why;
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestWindow)
#include "tst_window.moc"
