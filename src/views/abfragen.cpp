#include "views/abfragen.h"

#include "idmap/library_gang.h"

#include "bookdata/bookdata.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/idmap_frm1.h"
#include "shell/texte.h"
#include "views/bookdata_frm1.h"
#include "views/log_frm1.h"

#include <QAction>

namespace qk {
namespace {

QString Zahl(qint64 n) {
    return QString::number(n);
}

bool Buchungen_Gesammelt(const Zustand& z) {
    return !z.BookdataListe.empty() && !z.BookdataListe.front().Index.isEmpty();
}

} // namespace

quint8 Gewählten_Anwender_Übernehmen(Zustand& z, Idmap_frm1& frm) {
    frm.UserNr_Ermitteln();
    if (z.Gewählt_UserNr == 0)
        throw Fehler(FEHLER_OBJEKT);
    z.UserNr = z.Gewählt_UserNr;
    return z.UserNr;
}

void Index_Erfragen(Idmap_frm1& frm, const QString& titel, const QString& text) {
    // A progress window that an error left on screen cannot become modal, and it would hand
    // back the index of an earlier command on Cancel: the question gets a window of its own.
    frm.Messages_Entladen();
    frm.Eingabe_Anzeigen(titel, text);
}

void mnu_AlleBuchungen_Click(Zustand& z, Idmap_frm1& frm) {
    try {
        const QString user = Zahl(Gewählten_Anwender_Übernehmen(z, frm));
        frm.Fortschrittsfenster_Zeigen(LoadResString(1200) + user);
        z.Anzahl_Ordner = Anzahl_Ordner_Ermitteln(z, z.LibPath);
        z.Buchungen_Anzeigen = false;
        // The window exists before the read, which leaves its information line there.
        Bookdata_frm1 fenster(z, &frm);
        {
            Buchungsinfo_Verbindung verbindung(z, fenster);
            Bookdata_Einlesen(z, z.LibPath, z.UserNr);
        }
        frm.Messages_Entladen();
        if (Buchungen_Gesammelt(z)) {
            fenster.setWindowTitle(LoadResString(1201) + user);
            fenster.exec();
        } else {
            z.plattform.Meldung(LoadResString(1123) + user + LoadResString(1124),
                                LoadResString(1113) + user, Symbol::Ausruf);
        }
        frm.mnu_Rückgängig->setEnabled(Undo_Bleibt(z));
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("mnu_AlleBuchungen"), LoadResString(1203),
                      f.Nummer());
    }
}

void mnu_UserBuchungenIndex_Click(Zustand& z, Idmap_frm1& frm) {
    try {
        const QString user = Zahl(Gewählten_Anwender_Übernehmen(z, frm));
        Index_Erfragen(frm, LoadResString(1220), LoadResString(1151) + user + LoadResString(1230));
        if (!z.Index_Eingabe.isEmpty()) {
            z.Buchungen_Anzeigen = true;
            Buchungen_Anwender_Index(z, frm, z.Index_Eingabe,
                                     LoadResString(1225) + user + LoadResString(1226) +
                                         z.Index_Eingabe);
        }
        frm.mnu_Rückgängig->setEnabled(Undo_Bleibt(z));
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("mnu_UserBuchungenIndex"),
                      LoadResString(1223) + Zahl(z.UserNr) + LoadResString(1224) + z.Index_Eingabe,
                      f.Nummer());
    }
}

void mnu_BuchungenIndex_Click(Zustand& z, Idmap_frm1& frm) {
    try {
        z.UserNr = 0;
        Index_Erfragen(frm, LoadResString(1240), LoadResString(1241));
        if (!z.Index_Eingabe.isEmpty()) {
            z.Buchungen_Anzeigen = true;
            Buchungen_Anwender_Index(z, frm, z.Index_Eingabe,
                                     LoadResString(1243) + z.Index_Eingabe);
        }
        frm.mnu_Rückgängig->setEnabled(Undo_Bleibt(z));
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("mnu_BuchungenIndex"),
                      LoadResString(1242) + z.Index_Eingabe, f.Nummer());
    }
}

void Buchungen_Anwender_Index(Zustand& z, Idmap_frm1& frm, const QString& index,
                              const QString& titel) {
    // Whatever goes wrong below, a deletion must not go on because of an earlier result.
    z.Buchungen_Gefunden = false;
    try {
        z.Ordner_Nr = 0;
        BookdataListe_Zurücksetzen(z);
        Bookdata_Öffnen(z, z.LibPath, index, z.UserNr);
        // The count of what was found, as every other reader gives it: 0 for nothing.
        z.Anzahl_Buchungen = Buchungen_Zählen(z);
        if (Buchungen_Gesammelt(z)) {
            z.Buchungen_Gefunden = true;
            if (z.Buchungen_Anzeigen) {
                Bookdata_frm1 fenster(z, &frm);
                fenster.setWindowTitle(titel);
                fenster.exec();
            }
            return;
        }
        const QString ende = z.LibPath + index + LoadResString(2131);
        if (z.UserNr != 0) {
            const QString user = Zahl(z.UserNr);
            z.plattform.Meldung(LoadResString(2050) + user + LoadResString(2130) + ende,
                                LoadResString(2132) + user, Symbol::Ausruf);
        } else {
            z.plattform.Meldung(LoadResString(2150) + ende, LoadResString(2151), Symbol::Ausruf);
        }
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("Buchungen_Anwender_Index"),
                      LoadResString(2133) + Zahl(z.UserNr), f.Nummer());
    }
}

void mnu_Log_öffnen_Click(Zustand& z, Idmap_frm1& frm) {
    Log_frm1 fenster(z, &frm);
    fenster.exec();
}

} // namespace qk
