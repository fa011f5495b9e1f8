// qk_screenshot SITE WINDOW: opens one of the program's real windows on a demo site made by
// qk_demo_site, for the pictures in docs/ (scripts/screenshots takes them under Xvfb).
// WINDOW is main, menu (the main window with its View menu open), bookings (View, All bookings
// on the user with the most bookings), log (View, Open BOOKDATA.LOG) or help. The
// program ends by itself after a few seconds; it never writes the settings store.
#include "bookdata/bookdata.h"
#include "platform/qt_plattform.h"
#include "shell/idmap_frm1.h"
#include "shell/zustand.h"

#include <QApplication>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

namespace {

// The Qt platform with the demo site's paths in place of the user's settings store.
class Vorführplattform : public qk::QtPlattform {
public:
    QMap<QString, QString> werte;
    QString Einstellung_Lesen(const QString& gruppe, const QString& name) override {
        return werte.value(gruppe + QLatin1Char('/') + name);
    }
    void Einstellung_Schreiben(const QString&, const QString&, const QString&) override {}
};

// The user with the most bookings in the current Library.
quint8 Fleißigster(qk::Zustand& z) {
    z.Anzahl_Ordner = qk::Anzahl_Ordner_Ermitteln(z, z.LibPath);
    qk::Bookdata_Einlesen(z, z.LibPath, 0);
    QMap<int, int> zahl;
    for (const qk::BookdataEintrag& e : z.BookdataListe)
        ++zahl[e.UserID];
    int bester = 0;
    for (auto it = zahl.cbegin(); it != zahl.cend(); ++it) {
        if (it.value() > zahl.value(bester))
            bester = it.key();
    }
    return quint8(bester);
}

void Zeile_Wählen(qk::Idmap_frm1& f, quint8 id) {
    for (int i = 0; i < f.lstv_Idmap->topLevelItemCount(); ++i) {
        QTreeWidgetItem* zeile = f.lstv_Idmap->topLevelItem(i);
        if (zeile->text(0).toInt() == id) {
            f.lstv_Idmap->setCurrentItem(zeile);
            f.lstv_Idmap->scrollToItem(zeile);
            f.lstv_Idmap_Click();
            return;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QStringList fenster{QStringLiteral("main"),     QStringLiteral("menu"),
                              QStringLiteral("bookings"), QStringLiteral("log"),
                              QStringLiteral("help"),     QStringLiteral("libraries"),
                              QStringLiteral("local")};
    if (args.size() != 3 || !fenster.contains(args.at(2))) {
        std::fputs("usage: qk_screenshot SITE main|menu|bookings|log|help|libraries|local\n",
                   stderr);
        return 2;
    }
    const QString site = args.at(1).endsWith(QLatin1Char('/')) ? args.at(1) : args.at(1) + '/';
    const QString art = args.at(2);

    Vorführplattform p;
    p.werte.insert(QStringLiteral("Pathname/GlobalPath"), site + QStringLiteral("Global/"));
    p.werte.insert(QStringLiteral("Pathname/LibPath"),
                   site + QStringLiteral("Libraries/Projects/"));
    qk::Zustand z(p);
    qk::Idmap_frm1 f(z);
    const quint8 user = Fleißigster(z);

    if (art == QLatin1String("main") || art == QLatin1String("menu")) {
        f.show();
        Zeile_Wählen(f, user);
        if (art == QLatin1String("menu")) {
            QTimer::singleShot(300, &f, [&f] {
                f.mnu_Ansicht->popup(
                    f.mapToGlobal(QPoint(0, 0)) +
                    QPoint(f.menuBar()->actionGeometry(f.mnu_Ansicht->menuAction()).bottomLeft()));
            });
        }
    } else if (art == QLatin1String("bookings")) {
        // The real command, on the user with the most bookings; the main window stays hidden,
        // so that the picture shows the bookings window alone.
        Zeile_Wählen(f, user);
        QTimer::singleShot(0, &f, [&f] { f.Befehl_Ausführen(f.mnu_AlleBuchungen); });
    } else if (art == QLatin1String("log")) {
        QTimer::singleShot(0, &f, [&f] { f.Befehl_Ausführen(f.mnu_Log_öffnen); });
    } else if (art == QLatin1String("libraries")) {
        QTimer::singleShot(0, &f, [&f] { f.Befehl_Ausführen(f.mnu_LibDir); });
    } else if (art == QLatin1String("local")) {
        QTimer::singleShot(0, &f, [&f] { f.Befehl_Ausführen(f.mnu_NETerstellen); });
    } else {
        f.Hilfe_Zeigen(124);
    }
    QTimer::singleShot(15000, &app, &QApplication::quit);
    return app.exec();
}
