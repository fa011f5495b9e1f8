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

void Qk_Idmap_Öffnen(Zustand& z, const QString& pfad) {
    // A re-read starts from nothing, so no record or status of an earlier map survives it.
    z.IdmapListe.clear();
    try {
        // Reading never creates the map: a folder without one simply has no users.
        const QByteArray bytes = datei::Lesen(pfad + MAP);
        for (int i = 0; i < IDMAP_MAX_SÄTZE; ++i) {
            const qsizetype anfang = qsizetype(i) * IDMAP_SATZ;
            if (anfang >= bytes.size() || bytes[anfang] == 0)
                break;
            // A record cut short by the end of the file is no user.
            if (anfang + IDMAP_SATZ > bytes.size())
                break;
            const QByteArray satz = bytes.mid(anfang, IDMAP_SATZ);
            IdmapEintrag e;
            e.ID = static_cast<quint8>(satz[0]);
            e.UserName = Feld_Lesen(satz, 1);
            e.PCName = Feld_Lesen(satz, 1 + IDMAP_FELD);
            e.LocalPath = Feld_Lesen(satz, 1 + 2 * IDMAP_FELD);
            z.IdmapListe.append(e);
        }
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
        datei::Ersetzen(pfad + MAP, Idmap_Bytes(z.IdmapListe));
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
