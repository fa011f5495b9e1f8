// The undo list "_!bookdata.txt": any content either gives entries that name index folders
// and write back to the same list, or is refused whole.
#include "bookdata/bookdata.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "stille_plattform.h"
#include "ziele.h"

#include <QDir>
#include <QTemporaryDir>

namespace qk::fuzz {
namespace {

const QString LISTE = QStringLiteral("_!bookdata.txt");

QString Ordner(const QTemporaryDir& dir, const char* name) {
    const QString pfad = dir.path() + QLatin1Char('/') + QLatin1String(name) + QLatin1Char('/');
    QDir().mkpath(pfad);
    return pfad;
}

bool Leer(const std::vector<BookdataEintrag>& liste) {
    return liste.size() == 1 && liste[0].Index.isEmpty() && liste[0].BoxNr == 0 &&
           liste[0].RevNr == 0;
}

} // namespace

// Input: the user the undo is for, then the file.
void Rueckgaengig(const QByteArray& eingabe) {
    static const QTemporaryDir dir;
    static const QString lib = Ordner(dir, "lib");
    static const QString zurück = Ordner(dir, "zurueck");
    Leser l(eingabe);
    const quint8 user = l.Byte();
    datei::Schreiben(lib + LISTE, l.Rest());

    StillePlattform p;
    Zustand z(p);
    z.UserNr = user;
    z.Anzahl_Einträge = 3;
    try {
        Rückgängig_Liste_Lesen(z, lib);
    } catch (const Fehler& f) {
        QK_PRUEFEN(f.Nummer() == FEHLER_TYP || f.Nummer() == FEHLER_UEBERLAUF ||
                   f.Nummer() == FEHLER_ARGUMENT);
        // A list that breaks off restores nothing.
        QK_PRUEFEN(Leer(z.BookdataListe));
        return;
    }
    QK_PRUEFEN(z.Anzahl_Einträge == 3);
    QK_PRUEFEN(p.meldungen.isEmpty());
    if (Leer(z.BookdataListe))
        return;
    for (const BookdataEintrag& e : z.BookdataListe) {
        // Every name becomes a path: nothing but an index folder may come through.
        QK_PRUEFEN(Ist_Indexordner(e.Index));
        QK_PRUEFEN(e.UserID == user);
    }
    // Written back and read again, the list holds the same entries.
    const std::vector<BookdataEintrag> gelesen = z.BookdataListe;
    Rückgängig_Liste_Schreiben(z, zurück);
    Rückgängig_Liste_Lesen(z, zurück);
    QK_PRUEFEN(z.BookdataListe.size() == gelesen.size());
    for (size_t i = 0; i < gelesen.size(); ++i) {
        QK_PRUEFEN(z.BookdataListe[i].Index == gelesen[i].Index);
        QK_PRUEFEN(z.BookdataListe[i].BoxNr == gelesen[i].BoxNr);
        QK_PRUEFEN(z.BookdataListe[i].RevNr == gelesen[i].RevNr);
    }
}

std::vector<QByteArray> Saat_Rueckgaengig() {
    return {
        "\x07IDX00012\t5\t7\t3\r\nIDX00012\t9\t7\t12\r\n\r\n",
        "\x07\r\n",
        QByteArray(1, '\0'),
        "\x07idx00012\t200\t0\t4\nIDX00013\t0\t7\t255\n\nIDX00014\t1\t7\t1\n",
        "\x07 IDX00012 \t 5 \t7\t 3 \rIDX00012\t6\t7\t3",
        "\x07IDX00012\t256\t7\t3\r\n",
        "\x07IDX00012\t5\t7\t-3\r\n",
        "\x07..\\..\\x\t5\t7\t3\r\n",
        "\x07IDX0001\t5\r\n",
        "\x07IDX00012\t5\r\n",
        "\x07IDX00012\t\t\t\r\n",
        "\x07IDX00012\t5\t7\t3",
        "\x07\xFF\xFE\t5\t7\t3\r\n",
    };
}

} // namespace qk::fuzz
