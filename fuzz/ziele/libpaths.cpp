// QK_LIBPATHS.TXT: any content gives Library paths that end with a separator and that the
// writer puts back so that they read the same.
#include "config/libpaths.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/routinen.h"
#include "stille_plattform.h"
#include "ziele.h"

#include <QTemporaryDir>

namespace qk::fuzz {
namespace {

void Einträge_Prüfen(const QStringList& liste) {
    for (const QString& e : liste) {
        QK_PRUEFEN(!e.trimmed().isEmpty());
        QK_PRUEFEN(e.endsWith(QLatin1Char('\\')) || e.endsWith(QLatin1Char('/')));
        QK_PRUEFEN(!e.contains(QLatin1Char('\r')) && !e.contains(QLatin1Char('\n')));
    }
}

} // namespace

void Libpaths(const QByteArray& eingabe) {
    static const QTemporaryDir dir;
    const QString global = dir.path() + QLatin1Char('/');
    datei::Schreiben(global + LIBPATHS_DATEI, eingabe);

    StillePlattform p;
    Zustand z(p);
    z.GlobalPath = global;
    const QStringList vorher{QStringLiteral("/vorher/")};
    z.LibListe = vorher;
    LibPaths_Einlesen(z);
    QK_PRUEFEN(p.meldungen.isEmpty());
    // A file without a single Library leaves the list as it was.
    QK_PRUEFEN(!z.LibListe.isEmpty());
    Einträge_Prüfen(z.LibListe);

    const QStringList gelesen = z.LibListe;
    QK_PRUEFEN(Datei_LibPath_Schreiben(z, global));
    z.LibListe = vorher;
    LibPaths_Einlesen(z);
    QK_PRUEFEN(z.LibListe == gelesen);
}

std::vector<QByteArray> Saat_Libpaths() {
    return {
        "C:\\Lib1\\\r\nC:\\Lib2\\\r\n",
        "C:\\Lib1\\\r\n\r\n   \r\n\\\\server\\share\\lib\r\n",
        "/srv/lib1/\n/srv/lib2",
        "\r\r\r",
        "",
        "C:\\Bibliothek \xC4\xD6\xDC \x80\\\r\n",
        "\t\r\n\xA0\r\nC:\\x\\\r\n",
        QByteArray(600, '\\') + "\r\n",
    };
}

} // namespace qk::fuzz
