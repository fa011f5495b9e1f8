#include "idmap/idmap_datei.h"

#include "platform/ansi.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/routinen.h"
#include "shell/texte.h"

namespace qk {
namespace {

const QString MAP = QStringLiteral("QK_IDMAP.NET");

QString Feld_Lesen(const QByteArray& satz, int offset) {
    return Blanks_Entfernen(Bis_Null_Abschneiden(Von_Ansi(satz.mid(offset, IDMAP_FELD))));
}

// A text, its NUL, blanks up to the field size. Longer texts are cut so that the NUL always
// fits: a field without it could not be read back.
QByteArray Feld(const QString& text) {
    QByteArray f = Ansi(text).left(IDMAP_FELD - 1);
    f.append('\0');
    f.append(IDMAP_FELD - f.size(), ' ');
    return f;
}

void Lesefehler_Melden(Zustand& z, const QString& pfad, int nummer) {
    Plattform& p = z.plattform;
    switch (nummer) {
    case FEHLER_DATEI_NICHT_GEFUNDEN:
    case FEHLER_ZUGRIFF:
        p.Meldung(LoadResString(2010) + pfad + LoadResString(2011) + CRLF, LoadResString(2014),
                  Symbol::Ausruf);
        break;
    case FEHLER_PFAD:
        p.Meldung(LoadResString(2010) + pfad + LoadResString(2011),
                  QStringLiteral("Qk_Idmap_Öffnen_Error"), Symbol::Ausruf);
        break;
    default:
        Fehler_Melden(p, QStringLiteral("Qk_Idmap_Öffnen"),
                      LoadResString(2012) + pfad + LoadResString(2013), nummer);
    }
}

} // namespace

QByteArray Idmap_Bytes(const QList<IdmapEintrag>& liste) {
    QByteArray bytes;
    for (const IdmapEintrag& e : liste) {
        if (e.Status == QLatin1String("DEL"))
            continue;
        bytes.append(static_cast<char>(e.ID));
        bytes.append(Feld(e.UserName));
        bytes.append(Feld(e.PCName));
        bytes.append(Feld(e.LocalPath));
    }
    return bytes;
}

Idmap_Inhalt Idmap_Zerlegen(const QByteArray& bytes) {
    Idmap_Inhalt inhalt;
    qsizetype anfang = 0;
    try {
        for (int i = 0; i < IDMAP_MAX_SÄTZE; ++i, anfang += IDMAP_SATZ) {
            if (anfang >= bytes.size() || bytes[anfang] == 0)
                return inhalt;
            // A record cut short by the end of the file (a workstation that stopped while
            // writing) is no user; its bytes are kept.
            if (anfang + IDMAP_SATZ > bytes.size())
                throw Fehler(FEHLER_DATEIENDE);
            const QByteArray satz = bytes.mid(anfang, IDMAP_SATZ);
            IdmapEintrag e;
            e.ID = static_cast<quint8>(satz[0]);
            e.UserName = Feld_Lesen(satz, 1);
            e.PCName = Feld_Lesen(satz, 1 + IDMAP_FELD);
            e.LocalPath = Feld_Lesen(satz, 1 + 2 * IDMAP_FELD);
            inhalt.liste.append(e);
        }
        // The list has room for 256 records; the map is read that way, without a fault, and a
        // save keeps the records behind them.
        if (anfang < bytes.size() && bytes[anfang] != 0)
            inhalt.rest = bytes.mid(anfang);
    } catch (const Fehler& f) {
        inhalt.fehler = f.Nummer();
        inhalt.rest = bytes.mid(anfang);
    }
    return inhalt;
}

bool Idmap_Rest_Hat_ID(const QByteArray& rest, quint8 id) {
    // The rest begins at a record; a 0 in an ID byte ends the map for every reader.
    for (qsizetype anfang = 0; anfang < rest.size() && rest[anfang] != 0; anfang += IDMAP_SATZ) {
        if (static_cast<quint8>(rest[anfang]) == id)
            return true;
    }
    return false;
}

void Qk_Idmap_Öffnen(Zustand& z, const QString& pfad) {
    // A re-read starts from nothing, so no record or status of an earlier map survives it.
    z.IdmapListe.clear();
    z.Idmap_Rest.clear();
    try {
        // Reading never creates the map: a folder without one simply has no users.
        Idmap_Inhalt inhalt = Idmap_Zerlegen(datei::Lesen(pfad + MAP));
        z.IdmapListe = std::move(inhalt.liste);
        z.Idmap_Rest = std::move(inhalt.rest);
        if (inhalt.fehler != 0)
            throw Fehler(inhalt.fehler);
    } catch (const Fehler& f) {
        Lesefehler_Melden(z, pfad, f.Nummer());
    }
}

void Datei_Sichern(const QString& verzeichnis, const QString& dateiname, const QString& erweiterung,
                   bool löschen) {
    if (!datei::Existiert(verzeichnis + dateiname))
        return;
    const QString sicherung = dateiname.left(dateiname.size() - 4) + erweiterung;
    datei::Kopieren(verzeichnis + dateiname, verzeichnis + sicherung);
    if (löschen)
        datei::Löschen(verzeichnis + dateiname);
}

bool Qk_Idmap_Speichern(Zustand& z, const QString& pfad) {
    try {
        // The old map stays in place until the new one is complete: it is copied to the
        // backup, and the new content replaces it in one step.
        Datei_Sichern(pfad, QStringLiteral("\\") + MAP, QStringLiteral(".BAK"), false);
        if (z.UserEntfernt) {
            z.plattform.Meldung(LoadResString(2125) + CRLF + LoadResString(2126),
                                LoadResString(2127), Symbol::Stopp);
        }
        // What the reader could not take goes back behind the records, byte for byte.
        datei::Ersetzen(pfad + MAP, Idmap_Bytes(z.IdmapListe) + z.Idmap_Rest);
        return true;
    } catch (const Fehler& f) {
        if (f.Nummer() == FEHLER_PFAD) {
            z.plattform.Meldung(LoadResString(2052) + pfad + LoadResString(2011),
                                QStringLiteral("Qk_Idmap_Speichern_Error"), Symbol::Ausruf);
        } else {
            Fehler_Melden(z.plattform, QStringLiteral("Qk_Idmap_Speichern"),
                          LoadResString(2120) + pfad + LoadResString(2013), f.Nummer());
        }
        return false;
    }
}

} // namespace qk
