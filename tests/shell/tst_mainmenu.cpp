// The main window's menu bar from the catalogue, the state of its entries,
// a sibling module that cannot be started, and "Find entry".

#include "support/FakeProgram.h"
#include "support/ScriptedMessages.h"

#include "shell/KtAllDialogs.h"
#include "shell/TFindEntryDialog.h"
#include "shell/TMainForm.h"
#include "shell/catalogue/KtEntryMatch.h"
#include "shell/catalogue/KtMenuCatalogue.h"

#include "dialogs/registry/KtDialogRegistry.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <functional>

namespace {

struct Item
{
    QString path;
    QString name;
    bool hidden;
};

void collect(const QList<QAction *> &actions, const QString &prefix, QList<Item> &items)
{
    for (QAction *a : actions) {
        if (a->isSeparator())
            continue;
        const QString path = prefix.isEmpty() ? a->text() : prefix + QLatin1String(" > ") + a->text();
        items.append({path, a->objectName(), !a->isVisible()});
        if (QMenu *menu = a->menu())
            collect(menu->actions(), path, items);
    }
}

// Runs script on the next modal dialog, from inside its loop.
void whenModal(const std::function<void(QWidget *)> &script)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, script] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            poll->deleteLater();
            poll->stop();
            script(modal);
        }
    });
    poll->start(10);
}

} // namespace

class TestMainMenu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void menuTreeEqualsTheCatalogue()
    {
        TMainForm form;
        QList<Item> items;
        collect(form.menuBar()->actions(), QString(), items);
        const KtMenuCatalogue &catalogue = KtMenuCatalogue::Instance();
        QCOMPARE(items.size(), catalogue.count());
        QSet<QString> names;
        for (int i = 0; i < catalogue.count(); ++i) {
            const KtMenuEntry &entry = catalogue.at(i);
            QCOMPARE(items.at(i).path, entry.path());
            QCOMPARE(items.at(i).name, entry.name());
            QCOMPARE(items.at(i).hidden, entry.hidden());
            names.insert(items.at(i).name);
            QCOMPARE(form.MenuItem(entry.name())->text(), entry.caption());
        }
        QCOMPARE(names.size(), catalogue.count());  // every object name once
    }

    void entryStates_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("registered");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("configuration dialog") << "PortList1" << false << true;
        QTest::newRow("hidden configuration dialog") << "POESystemControl1" << false << false;
        QTest::newRow("sibling module") << "ForwardingTable1" << false << true;
        QTest::newRow("dedicated, not built") << "CurrentTime1" << false << false;
        QTest::newRow("dedicated, registered") << "CurrentTime1" << true << true;
        QTest::newRow("monitor, not registered") << "IFCounter1" << false << false;
    }
    void entryStates()
    {
        QFETCH(QString, name);
        QFETCH(bool, registered);
        QFETCH(bool, enabled);
        const KtMenuEntry *entry = KtMenuCatalogue::Instance().Find(name);
        QVERIFY(entry);
        if (registered)
            KtDialogRegistry::Register(entry->formClass(), [](const KtDialogOpening &) {});
        TMainForm form;
        KtDialogRegistry::Unregister(entry->formClass());
        QCOMPARE(form.MenuItem(name)->isEnabled(), enabled);
    }

    void dedicatedDialogGetsItsCaptionPrefix()
    {
        KtDialogOpening seen;
        KtDialogRegistry::Register(QStringLiteral("TMSInformationForm"), [&seen](const KtDialogOpening &o) { seen = o; });
        TMainForm form;
        form.MenuItem(QStringLiteral("SingleIPMSTable1"))->trigger();
        KtDialogRegistry::Unregister(QStringLiteral("TMSInformationForm"));
        QCOMPARE(seen.main, &form);
        QCOMPARE(seen.captionPrefix, QStringLiteral("Member Switch Information Table : "));
    }

    void siblingModuleStart_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("status");
        QTest::newRow("missing") << false << "Rmon could not be started: no program \"Rmon\" beside this one or on PATH";
        QTest::newRow("on PATH") << true << "Rmon /I /R**** /W**** /TRmon_Statistics ";
    }
    void siblingModuleStart()
    {
        QFETCH(bool, present);
        QFETCH(QString, status);
        QTemporaryDir bin;
        if (present)
            QVERIFY(!TestSupport::writeProgram(bin.path(), QStringLiteral("Rmon")).isEmpty());
        TestSupport::ScopedPath path(bin.path());
        TMainForm form;
        form.MenuItem(QStringLiteral("Statistics1"))->trigger();
        QCOMPARE(form.StatusPanel()->text(), status);
    }

    // Opening a menu looks for the programs of its sibling entries.
    void siblingEntriesFollowTheirProgram()
    {
        QTemporaryDir bin;
        TestSupport::ScopedPath path(bin.path());
        TMainForm form;
        const char *const entries[] = {"Statistics1", "History1", "AlarmEvent1"};
        QMenu *rmon = qobject_cast<QMenu *>(form.MenuItem(QStringLiteral("Statistics1"))->parent());
        QVERIFY(rmon);
        const auto open = [rmon] {
            rmon->popup(QPoint(0, 0));
            rmon->hide();
        };
        const QString reason = QStringLiteral("Rmon module is not installed (looked in %1 and PATH)")
                                   .arg(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
        const QString program = bin.filePath(QStringLiteral("Rmon"));
        for (bool installed : {false, true}) {
            if (installed)
                QVERIFY(!TestSupport::writeProgram(bin.path(), QStringLiteral("Rmon")).isEmpty());
            open();
            for (const char *name : entries) {
                QAction *item = form.MenuItem(QLatin1String(name));
                QCOMPARE(item->isEnabled(), installed);
                QCOMPARE(item->toolTip(), installed ? item->text() : reason);
            }
            QVERIFY(form.MenuItem(QStringLiteral("RMONState1"))->isEnabled());
            // Find entry greys them with the same reason, without opening a menu.
            QFile::remove(program);
            const QList<TFindEntryDialog::Entry> found = form.FindableEntries();
            const auto statistics = std::find_if(found.begin(), found.end(),
                                                 [](const auto &e) { return e.Name == QLatin1String("Statistics1"); });
            QVERIFY(statistics != found.end());
            QVERIFY(!statistics->Enabled);
            QCOMPARE(statistics->Reason, reason);
            TFindEntryDialog dialog(found);
            QTest::keyClicks(dialog.FilterEdit, QStringLiteral("rmon statistics"));
            const QList<QListWidgetItem *> shown = dialog.EntryList->findItems(QStringLiteral("RMON > Statistics"),
                                                                               Qt::MatchExactly);
            QCOMPARE(shown.size(), 1);
            QVERIFY(!(shown.first()->flags() & Qt::ItemIsEnabled));
            QCOMPARE(shown.first()->toolTip(), reason);
        }
    }

    void findEntryFilters_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("one word") << "rmon"
                                  << QStringList{"RMON > RMON State", "RMON > Statistics", "RMON > History",
                                                 "RMON > Alarm/Event"};
        QTest::newRow("words anywhere, any case") << "ABOUT help" << QStringList{"Help > About"};
        QTest::newRow("word starts, plural s optional") << "ip counters"
                                                        << QStringList{"Basic Configuration > MIB II > IP Counter"};
        QTest::newRow("the caption typed whole first") << "aac login method"
                                                       << QStringList{"Security > Access Control Information > AAC Login Method",
                                                                      "Security > Access Control Information > AAC Login Method List"};
        QTest::newRow("hidden entries are not found") << "POE System" << QStringList{};
        QTest::newRow("nothing") << "no such entry" << QStringList{};
    }
    void findEntryFilters()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, shown);
        TMainForm form;
        const QList<TFindEntryDialog::Entry> entries = form.FindableEntries();
        TFindEntryDialog dialog(entries);
        QCOMPARE(dialog.ShownPaths().size(), entries.size());
        QTest::keyClicks(dialog.FilterEdit, typed);
        QCOMPARE(dialog.ShownPaths(), shown);
    }

    // Each key, typed or erased, leaves the list as the matching rules rank
    // the whole menu for the text so far, with the best enabled match current.
    void findEntryFollowsEveryKey_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("erased");
        QTest::addColumn<QString>("more");
        QTest::newRow("narrowing to a caption") << "spanning tree algorithm" << 0 << "";
        QTest::newRow("path words, then caption words") << "bridge port" << 0 << "";
        QTest::newRow("widening again") << "ip counter" << 8 << "";
        QTest::newRow("erased to nothing") << "rmon" << 4 << "";
        QTest::newRow("a word replaced") << "port state" << 5 << "mstp";
        QTest::newRow("no match and back") << "aac x" << 1 << "login";
    }
    void findEntryFollowsEveryKey()
    {
        QFETCH(QString, typed);
        QFETCH(int, erased);
        QFETCH(QString, more);
        TMainForm form;
        const QList<TFindEntryDialog::Entry> entries = form.FindableEntries();
        TFindEntryDialog dialog(entries);
        const auto check = [&] {
            const QString text = dialog.FilterEdit->text();
            QList<TFindEntryDialog::Entry> ranked;
            for (const TFindEntryDialog::Entry &e : entries)
                if (KtEntryMatch::Match(e.Path, text) != KtEntryMatch::NoMatch)
                    ranked.append(e);
            std::stable_sort(ranked.begin(), ranked.end(), [&](const auto &a, const auto &b) {
                return KtEntryMatch::Match(a.Path, text) > KtEntryMatch::Match(b.Path, text);
            });
            QStringList paths;
            for (const TFindEntryDialog::Entry &e : std::as_const(ranked))
                paths << e.Path;
            const auto enabled = std::find_if(ranked.cbegin(), ranked.cend(), [](const auto &e) { return e.Enabled; });
            QListWidgetItem *current = dialog.EntryList->currentItem();
            return dialog.ShownPaths() == paths
                   && (enabled == ranked.cend() ? !current : current && current->text() == enabled->Path);
        };
        for (const QChar c : typed) {
            QTest::keyClick(dialog.FilterEdit, c.toLatin1());
            QVERIFY2(check(), qPrintable(dialog.FilterEdit->text()));
        }
        for (int i = 0; i < erased; ++i) {
            QTest::keyClick(dialog.FilterEdit, Qt::Key_Backspace);
            QVERIFY2(check(), qPrintable(dialog.FilterEdit->text()));
        }
        for (const QChar c : more) {
            QTest::keyClick(dialog.FilterEdit, c.toLatin1());
            QVERIFY2(check(), qPrintable(dialog.FilterEdit->text()));
        }
    }

    void findEntryOpensThePick()
    {
        int opened = 0;
        KtDialogRegistry::Register(QStringLiteral("TAboutForm"), [&opened](const KtDialogOpening &) { ++opened; });
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        bool disabledKeptOpen = false;
        whenModal([&](QWidget *w) {
            auto *dialog = qobject_cast<TFindEntryDialog *>(w);
            QVERIFY(dialog);
            // A disabled entry is listed but cannot be picked.
            QTest::keyClicks(dialog->FilterEdit, QStringLiteral("current time"));
            QCOMPARE(dialog->ShownPaths(), QStringList{"Basic Configuration > Time Management > Current Time"});
            QTest::keyClick(dialog->FilterEdit, Qt::Key_Return);
            disabledKeptOpen = dialog->isVisible();
            dialog->FilterEdit->clear();
            QTest::keyClicks(dialog->FilterEdit, QStringLiteral("about"));
            QTest::keyClick(dialog->FilterEdit, Qt::Key_Return);
        });
        QTest::keyClick(&form, Qt::Key_F, Qt::ControlModifier);
        KtDialogRegistry::Unregister(QStringLiteral("TAboutForm"));
        QVERIFY(disabledKeptOpen);
        QCOMPARE(opened, 1);
        QVERIFY(!QApplication::activeModalWidget());
    }
    // Last: it leaves nothing registered behind for the cases above.
    void programRegistersEveryNamedDialog()
    {
        RegisterAllDialogs();
        TMainForm form;
        QStringList missing;
        const KtMenuCatalogue &catalogue = KtMenuCatalogue::Instance();
        for (int i = 0; i < catalogue.count(); ++i) {
            const KtMenuEntry &entry = catalogue.at(i);
            if (entry.action() != KtMenuEntry::Dedicated)
                continue;
            if (!KtDialogRegistry::Has(entry.formClass()) || !form.MenuItem(entry.name())->isEnabled())
                missing.append(entry.name() + QLatin1Char('/') + entry.formClass());
        }
        for (const QString &name : KtDialogRegistry::Names())
            KtDialogRegistry::Unregister(name);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1String(", "))));
    }
};

QTEST_MAIN(TestMainMenu)
#include "tst_mainmenu.moc"
