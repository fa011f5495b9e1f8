#pragma once

#include "../bookdata/bookdata_bau.h"
#include "../shell/umgebung.h"
#include "shell/idmap_frm1.h"
#include "views/messages_frm1.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

// A site for the user commands, driven through the main window: the five users of
// Umgebung::Vollständig (1, 7, 12, 23, 254) and three Libraries listed in QK_LIBPATHS.TXT.
namespace qk::test {

struct Standort : Umgebung {
    // lib (the current Library), lib2, lib3.
    QStringList libs{lib, t.Ordner(QStringLiteral("lib2")), t.Ordner(QStringLiteral("lib3"))};

    Standort() {
        Vollständig();
        t.Datei(QStringLiteral("lib2/LIBINFO.SYS"), {});
        t.Datei(QStringLiteral("lib3/LIBINFO.SYS"), {});
        Libraries_Eintragen(libs);
    }

    void Libraries_Eintragen(const QStringList& liste) const {
        t.Datei(QStringLiteral("global/QK_LIBPATHS.TXT"), (liste.join("\r\n") + "\r\n").toUtf8());
    }

    // User 7 has two bookings in lib, none in lib2 and one in each of two folders of lib3;
    // users 12, 1 and 23 have bookings beside them.
    static QByteArray L1_12() { return test::Bookdata({{5, 7, 3}, {9, 7, 12}, {20, 12, 1}}); }
    static QByteArray L2_01() { return test::Bookdata({{0, 1, 4}}); }
    static QByteArray L3_03() { return test::Bookdata({{0, 7, 1}}); }
    static QByteArray L3_04() { return test::Bookdata({{255, 7, 2}, {1, 23, 5}}); }

    void Buchungen_Anlegen() const {
        Bookdata(1, "IDX00012", L1_12());
        Bookdata(2, "IDX00001", L2_01());
        Bookdata(3, "IDX00003", L3_03());
        Bookdata(3, "IDX00004", L3_04());
        // An earlier deletion's undo list, which a removal must not leave behind.
        t.Datei(QStringLiteral("lib2/_!bookdata.txt"), "IDX00001\t0\t1\t4\r\n\r\n");
    }

    // Selects the row and runs Remove User, answering its question with `antwort`.
    void Entfernen(Idmap_frm1& f, int zeile, Antwort antwort = Antwort::Ja) {
        const QRect r = f.lstv_Idmap->visualItemRect(f.lstv_Idmap->topLevelItem(zeile));
        QTest::mouseClick(f.lstv_Idmap->viewport(), Qt::LeftButton, {}, r.center());
        p.antworten = {antwort};
        QVERIFY(f.Befehl_Ausführen(f.mnu_UserLöschen));
    }

    // "lib/", "lib2/", "lib3/" relative to the temporary folder.
    static QString Lib_Ordner(int lib) {
        return lib == 1 ? QStringLiteral("lib/") : QStringLiteral("lib%1/").arg(lib);
    }
    static QString Datei(int lib, const char* index, const char* name = "BOOKDATA.NET") {
        return Lib_Ordner(lib) + QLatin1String(index) + '/' + QLatin1String(name);
    }
    void Bookdata(int lib, const char* index, const QByteArray& inhalt) const {
        t.Datei(Datei(lib, index), inhalt);
    }
    QByteArray Lesen(int lib, const char* index, const char* name = "BOOKDATA.NET") const {
        return t.Lesen(Datei(lib, index, name));
    }
    QString Log(int lib) const {
        return QString::fromLatin1(t.Lesen(Lib_Ordner(lib) + QStringLiteral("Bookdata.log")));
    }
    QString Rückgängig_Liste(int lib) const {
        return QString::fromLatin1(t.Lesen(Lib_Ordner(lib) + QStringLiteral("_!bookdata.txt")));
    }
};

inline void Zeigen(QWidget& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

// Clicks the row of the user list as a user would.
inline void Klicken(Idmap_frm1& f, int zeile) {
    const QRect r = f.lstv_Idmap->visualItemRect(f.lstv_Idmap->topLevelItem(zeile));
    QTest::mouseClick(f.lstv_Idmap->viewport(), Qt::LeftButton, {}, r.center());
}

inline QStringList Spalte1(const QTreeWidget* l) {
    QStringList ids;
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        ids.append(l->topLevelItem(i)->text(0));
    return ids;
}

// The small window as the last command left it.
struct Ergebnisfenster {
    QString titel;
    QString text;
    bool okSichtbar = false;
    bool balkenSichtbar = false;
};

inline Ergebnisfenster Ergebnis(Idmap_frm1& f) {
    // An unloaded window may still wait for its deletion beside the open one.
    for (Messages_frm1* m : f.findChildren<Messages_frm1*>()) {
        if (m->isVisible())
            return {m->windowTitle(), m->lbl_Messages->text(), m->cmd_OK_2->isVisibleTo(m),
                    m->pbr_Messages->isVisibleTo(m)};
    }
    return {};
}

} // namespace qk::test
