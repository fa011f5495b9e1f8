// The lists kept as text: the undo list "_!bookdata.txt" and QK_LIBPATHS.TXT. Any content
// either gives entries that the writer puts back so that they read the same, or changes nothing.
#include "bookdata/bookdata.h"
#include "config/libpaths.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/routinen.h"
#include "test_plattform.h"
#include "ziele.h"

#include <QTemporaryDir>
#include <algorithm>

namespace qk::fuzz {

// Input: the file.
void Rueckgaengig(const QByteArray& eingabe) {
    static const QTemporaryDir dir;
    const QString lib = dir.path() + QLatin1Char('/');
    datei::Schreiben(lib + QStringLiteral("_!bookdata.txt"), eingabe);

    test::TestPlattform p;
    Zustand z(p);
    const int beschädigt = Rückgängig_Liste_Lesen(z, lib);
    QK_PRUEFEN(beschädigt >= 0 && !z.BookdataListe.empty());
    const std::vector<BookdataEintrag> gelesen = z.BookdataListe;
    if (gelesen.size() == 1 && gelesen[0].Index.isEmpty())
        return;
    // Every name becomes a path: nothing but an index folder may come through.
    for (const BookdataEintrag& e : gelesen)
        QK_PRUEFEN(Ist_Indexordner(e.Index));
    // What was taken, written back, reads the same and whole.
    Rückgängig_Liste_Schreiben(z, lib);
    QK_PRUEFEN(Rückgängig_Liste_Lesen(z, lib) == 0);
    QK_PRUEFEN(std::ranges::equal(z.BookdataListe, gelesen, [](const auto& a, const auto& b) {
        return a.Index == b.Index && a.BoxNr == b.BoxNr && a.UserID == b.UserID &&
               a.RevNr == b.RevNr;
    }));
}

std::vector<QByteArray> Saat_Rueckgaengig() {
    return {
        "IDX00012\t5\t7\t3\r\nIDX00012\t9\t7\t12\r\n\r\n",
        "\r\n",
        " idx00012 \t 200 \t0\t 4 \rIDX00013\t0\t7\t255\n\nIDX00014\t1\t7\t1\n",
        "IDX00012\t256\t7\t3\r\nIDX00013\t1\t7\t1\r\n",
        "IDX00012\t5\t7\t-3\r\n",
        "..\\..\\x\t5\t7\t3\r\n",
        "IDX00012\r\n",
        "IDX00012\t\t\t\r\n",
        "IDX00012\t5",
    };
}

void Libpaths(const QByteArray& eingabe) {
    static const QTemporaryDir dir;
    const QString global = dir.path() + QLatin1Char('/');
    datei::Schreiben(global + LIBPATHS_DATEI, eingabe);

    test::TestPlattform p;
    Zustand z(p);
    z.GlobalPath = global;
    const QStringList vorher{QStringLiteral("/vorher/")};
    z.LibListe = vorher;
    LibPaths_Einlesen(z);
    // A file without a single Library leaves the list as it was.
    QK_PRUEFEN(!z.LibListe.isEmpty());
    for (const QString& e : z.LibListe)
        QK_PRUEFEN(!e.trimmed().isEmpty() &&
                   (e.endsWith(QLatin1Char('\\')) || e.endsWith(QLatin1Char('/'))));
    const QStringList gelesen = z.LibListe;
    QK_PRUEFEN(Datei_LibPath_Schreiben(z, global));
    z.LibListe = vorher;
    LibPaths_Einlesen(z);
    QK_PRUEFEN(z.LibListe == gelesen);
}

std::vector<QByteArray> Saat_Libpaths() {
    return {
        "C:\\Lib1\\\r\n\r\n   \r\n\\\\server\\share\\lib\r\n",
        "/srv/lib1/\n/srv/lib2",
        "\r\r\r",
        "\t\r\n\xA0\r\nC:\\Bibliothek \xC4\xD6\xDC \x80\\\r\n",
    };
}

} // namespace qk::fuzz
