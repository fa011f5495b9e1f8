#include "shell/hilfe_frm1.h"
#include "shell/hilfetexte.h"
#include "shell/idmap_frm1.h"
#include "umgebung.h"

#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

using namespace qk;
using test::Umgebung;

namespace {

QList<QAction*> Alle_Punkte(const Idmap_frm1& f) {
    QList<QAction*> punkte;
    for (QMenu* m : {f.mnu_Datei, f.mnu_Bearbeiten, f.mnu_Ansicht, f.mnu_Hilfe}) {
        punkte.append(m->menuAction());
        for (QAction* a : m->actions()) {
            if (!a->isSeparator())
                punkte.append(a);
        }
    }
    return punkte;
}

QString Name(const QAction* a) {
    return a->menu() != nullptr ? a->menu()->objectName() : a->objectName();
}

QString Ohne_Zugriffstaste(QString text) {
    return text.remove(QLatin1Char('&')).trimmed();
}

} // namespace

class TestHilfe : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(test::Offene_Fenster(), QStringList());
    }

    void f1OnHighlightedItemOpensItsTopic_data() {
        QTest::addColumn<QString>("menü");
        QTest::addColumn<QString>("punkt");
        QTest::addColumn<QString>("titel");
        // Save is disabled after the start; its help is there all the same.
        QTest::newRow("disabled save") << "mnu_Datei"
                                       << "mnu_Speichern"
                                       << "Save";
        QTest::newRow("remove user") << "mnu_Bearbeiten"
                                     << "mnu_UserLöschen"
                                     << "Remove User";
        QTest::newRow("no context number") << "mnu_Bearbeiten"
                                           << "mnu_NETerstellen"
                                           << "Create QK_LOCAL.NET";
        QTest::newRow("info") << "mnu_Ansicht"
                              << "mnu_Info"
                              << "Info";
        QTest::newRow("help") << "mnu_Hilfe"
                              << "mnu_Hilfethemen"
                              << "Help";
    }
    void f1OnHighlightedItemOpensItsTopic() {
        QFETCH(QString, menü);
        QFETCH(QString, punkt);
        QFETCH(QString, titel);
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));

        auto* m = f.findChild<QMenu*>(menü);
        QVERIFY(m != nullptr);
        m->popup(f.mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(m));
        m->setActiveAction(f.findChild<QAction*>(punkt));
        QTest::keyClick(m, Qt::Key_F1);

        QTRY_VERIFY(f.Hilfe() != nullptr && f.Hilfe()->isVisible());
        QVERIFY(!m->isVisible());
        QCOMPARE(f.Hilfe()->Aktuelles_Thema(), punkt);
        QVERIFY(f.Hilfe()->txt_Hilfe->toPlainText().startsWith(titel));
        // F1 is help, never the command itself.
        QVERIFY(u.p.meldungen.isEmpty());
    }

    void helpCommandAndF1OutsideMenusOpenContents() {
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QVERIFY(f.Befehl_Ausführen(f.mnu_Hilfethemen));
        Hilfe_frm1* h = f.Hilfe();
        QVERIFY(h != nullptr && h->isVisible());
        QCOMPARE(h->Aktuelles_Thema(), QStringLiteral("mnu_Hilfethemen"));

        h->Thema_Zeigen(158);
        QCOMPARE(h->Aktuelles_Thema(), QStringLiteral("mnu_Aktualisieren"));
        f.activateWindow();
        QTest::keyClick(&f, Qt::Key_F1);
        // One help window, back at the contents.
        QCOMPARE(f.Hilfe(), h);
        QCOMPARE(h->Aktuelles_Thema(), QStringLiteral("mnu_Hilfethemen"));
    }

    void everyMenuItemHasItsTopic() {
        Umgebung u;
        u.Vollständig();
        Idmap_frm1 f(u.z);
        QStringList gefunden;
        for (QAction* a : Alle_Punkte(f)) {
            const Hilfethema* t = Hilfethema_Suchen(Idmap_frm1::Hilfekontext(a), Name(a));
            QVERIFY2(t != nullptr, qPrintable(Name(a)));
            QCOMPARE(t->name, Name(a));
            QCOMPARE(t->kontext, Idmap_frm1::Hilfekontext(a));
            QCOMPARE(Hilfethema_Titel(*t), Ohne_Zugriffstaste(a->text()));
            // Each command's topic says what it does to the files.
            if (a->menu() == nullptr && a != f.mnu_Hilfethemen)
                QVERIFY2(t->inhalt.contains(QLatin1String("On disk:")), qPrintable(t->name));
            gefunden.append(t->name);
        }
        // No topic without its item.
        QStringList alle;
        for (const Hilfethema& t : Hilfethemen())
            alle.append(t.name);
        gefunden.sort();
        alle.sort();
        QCOMPARE(gefunden, alle);
    }

    void contentsLinksLeadToEveryCommand() {
        Hilfe_frm1 h;
        h.Thema_Zeigen(172);
        const QString inhalt = h.txt_Hilfe->toHtml();
        for (const Hilfethema& t : Hilfethemen()) {
            if (t.menü.isEmpty() || t.name == QLatin1String("mnu_Hilfethemen"))
                continue;
            QVERIFY2(inhalt.contains("thema:" + t.name), qPrintable(t.name));
            emit h.txt_Hilfe->anchorClicked(QUrl("thema:" + t.name));
            QCOMPARE(h.Aktuelles_Thema(), t.name);
            h.Thema_Zeigen(172);
        }
        // An unknown number shows the contents rather than nothing.
        h.Thema_Zeigen(122);
        h.Thema_Zeigen(999);
        QCOMPARE(h.Aktuelles_Thema(), QStringLiteral("mnu_Hilfethemen"));
    }

    void topicListFollowsTheMenus() {
        Hilfe_frm1 h;
        QTreeWidget* l = h.lst_Themen;
        QStringList oben;
        for (int i = 0; i < l->topLevelItemCount(); ++i)
            oben.append(l->topLevelItem(i)->text(0));
        QCOMPARE(oben, (QStringList{"Help", "File", "Edit", "View", "?"}));
        QCOMPARE(l->topLevelItem(2)->childCount(), 6);
        QCOMPARE(l->topLevelItem(2)->child(4)->text(0), QStringLiteral("Create QK_LOCAL.NET"));
        l->setCurrentItem(l->topLevelItem(3)->child(0));
        QCOMPARE(h.Aktuelles_Thema(), QStringLiteral("mnu_AlleBuchungen"));
        QVERIFY(h.txt_Hilfe->toPlainText().startsWith(QLatin1String("All bookings")));
    }
};

QTEST_MAIN(TestHilfe)
#include "test_hilfe.moc"
