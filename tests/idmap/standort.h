#pragma once

#include "../bookdata/bookdata_bau.h"
#include "../shell/umgebung.h"
#include "shell/idmap_frm1.h"
#include "views/messages_frm1.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
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
        t.Datei(Datei(1, "IDX00012"), L1_12());
        t.Datei(Datei(2, "IDX00001"), L2_01());
        t.Datei(Datei(3, "IDX00003"), L3_03());
        t.Datei(Datei(3, "IDX00004"), L3_04());
        // An earlier deletion's undo list, which a removal must not leave behind.
        t.Datei(QStringLiteral("lib2/_!bookdata.txt"), "IDX00001\t0\t1\t4\r\n\r\n");
    }

    // The four booking files of Buchungen_Anlegen (or their backups), in the order above;
    // a missing file reads as empty.
    QList<QByteArray> Stand(const char* name = "BOOKDATA.NET") const {
        return {Lesen(1, "IDX00012", name), Lesen(2, "IDX00001", name), Lesen(3, "IDX00003", name),
                Lesen(3, "IDX00004", name)};
    }
    static QList<QByteArray> Anfangsstand() { return {L1_12(), L2_01(), L3_03(), L3_04()}; }

    // Selects the row and runs Remove User, answering its question with `antwort`.
    void Entfernen(Idmap_frm1& f, int zeile, Antwort antwort = Antwort::Ja) {
        Klicken(f.lstv_Idmap, zeile);
        p.antworten = {antwort};
        QVERIFY(f.Befehl_Ausführen(f.mnu_UserLöschen));
    }

    // "lib/IDX00012/BOOKDATA.NET" and the like, relative to the temporary folder.
    static QString Datei(int lib, const char* index, const char* name = "BOOKDATA.NET") {
        return Text_Datei(lib, QLatin1String(index) + '/' + QLatin1String(name));
    }
    static QString Text_Datei(int lib, const QString& name) {
        return (lib == 1 ? QStringLiteral("lib/") : QStringLiteral("lib%1/").arg(lib)) + name;
    }
    QByteArray Lesen(int lib, const char* index, const char* name = "BOOKDATA.NET") const {
        return t.Lesen(Datei(lib, index, name));
    }
    QString Log(int lib) const {
        return QString::fromLatin1(t.Lesen(Text_Datei(lib, "Bookdata.log")));
    }
    QString Rückgängig_Liste(int lib) const {
        return QString::fromLatin1(t.Lesen(Text_Datei(lib, "_!bookdata.txt")));
    }

    // The small window as the last command left it: caption|text, then "|OK" while its
    // button shows and "|bar" while its progress bar does.
    static QString Ergebnis(Idmap_frm1& f) {
        // An unloaded window may still wait for its deletion beside the open one.
        for (Messages_frm1* m : f.findChildren<Messages_frm1*>()) {
            if (m->isVisible())
                return m->windowTitle() + '|' + m->lbl_Messages->text() +
                       (m->cmd_OK_2->isVisibleTo(m) ? "|OK" : "") +
                       (m->pbr_Messages->isVisibleTo(m) ? "|bar" : "");
        }
        return {};
    }
};

} // namespace qk::test
