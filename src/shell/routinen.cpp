#include "shell/routinen.h"

#include "config/libpaths.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/texte.h"

namespace qk {

bool Datei_Existiert(const QString& pfad, const QString& name) {
    // Without a folder the name alone would be looked up in the working folder.
    if (pfad.isEmpty())
        return false;
    return datei::Existiert(pfad + name);
}

QString Bis_Null_Abschneiden(const QString& text) {
    const qsizetype null = text.indexOf(QChar(u'\0'));
    if (null < 0)
        throw Fehler(FEHLER_ARGUMENT);
    return text.left(null);
}

QString Blanks_Entfernen(const QString& text) {
    qsizetype anfang = 0;
    qsizetype ende = text.size();
    while (anfang < ende && text[anfang] == QLatin1Char(' '))
        ++anfang;
    while (ende > anfang && text[ende - 1] == QLatin1Char(' '))
        --ende;
    return text.mid(anfang, ende - anfang);
}

QString Verzeichnis_Wählen(Zustand& z, const QString& vorher, const QString& datei) {
    // The folder dialog has no prompt of its own.
    const QString ordner = z.plattform.Ordner_Dialog(QString());
    if (ordner.isEmpty())
        return vorher;
    QString gewählt = ordner;
    if (!gewählt.endsWith(datei::Trenner()))
        gewählt += datei::Trenner();
    Verzeichnis_Prüfen(z, gewählt, vorher, datei);
    return gewählt;
}

void Verzeichnis_Prüfen(Zustand& z, QString& gewählt, const QString& vorher, const QString& datei) {
    while (!Datei_Existiert(gewählt, datei)) {
        const Antwort a = z.plattform.Meldung(CRLF + LoadResString(1010) + QStringLiteral("     "),
                                              LoadResString(1012) + QStringLiteral("(''") +
                                                  gewählt + QStringLiteral("'')"),
                                              Symbol::Ausruf, Knöpfe::OKAbbrechen);
        if (a != Antwort::OK) {
            gewählt = vorher;
            return;
        }
        const QString ordner = z.plattform.Ordner_Dialog(QString());
        if (ordner.isEmpty()) {
            // Giving up in the reopened dialog brings back the previous folder, which is
            // taken as it is, as every cancelled choice is.
            gewählt = vorher;
            return;
        }
        gewählt = ordner.endsWith(datei::Trenner()) ? ordner : ordner + datei::Trenner();
    }
}

void LibPaths_Einlesen(Zustand& z) {
    z.LibPaths_Fehler = 0;
    if (!Datei_Existiert(z.GlobalPath, QStringLiteral("QK_LIBPATHS.TXT"))) {
        // A Global Directory out of reach may well hold a list.
        if (!datei::Ordner_Existiert(z.GlobalPath))
            z.LibPaths_Fehler = FEHLER_PFAD;
        return;
    }
    QStringList zeilen;
    try {
        zeilen = datei::Zeilen_Lesen(z.GlobalPath + QStringLiteral("QK_LIBPATHS.TXT"));
    } catch (const Fehler& f) {
        z.LibPaths_Fehler = f.Nummer();
        throw;
    }
    const QStringList liste = LibPaths_Aus_Zeilen(zeilen);
    if (!liste.isEmpty())
        z.LibListe = liste;
}

} // namespace qk
