// QK_IDMAP.NET: any bytes give users that a save writes back as they were read, and what the
// reader cannot take is kept whole.
#include "idmap/idmap_datei.h"
#include "idmap_bau.h"
#include "platform/fehler.h"
#include "ziele.h"

namespace qk::fuzz {
namespace {

bool Gleich(const IdmapEintrag& a, const IdmapEintrag& b) {
    return a.ID == b.ID && a.UserName == b.UserName && a.PCName == b.PCName &&
           a.LocalPath == b.LocalPath && a.Status == b.Status;
}

void Feld_Prüfen(const QString& feld) {
    QK_PRUEFEN(feld.size() < IDMAP_FELD);
    QK_PRUEFEN(!feld.contains(QChar(u'\0')));
    QK_PRUEFEN(!feld.startsWith(QLatin1Char(' ')) && !feld.endsWith(QLatin1Char(' ')));
}

} // namespace

// Input: a byte r, then the file. With r from 250 on, the file's first record stands r + 3
// more times in front of it, so that small inputs reach maps of 256 records and more.
void Idmap(const QByteArray& roh) {
    Leser l(roh);
    const int r = l.Byte();
    const QByteArray datei = l.Rest();
    const QByteArray eingabe = datei.left(IDMAP_SATZ).repeated(r >= 250 ? r + 3 : 0) + datei;
    const Idmap_Inhalt a = Idmap_Zerlegen(eingabe);
    QK_PRUEFEN(a.liste.size() <= IDMAP_MAX_SÄTZE);
    QK_PRUEFEN(a.fehler == 0 || a.fehler == FEHLER_ARGUMENT || a.fehler == FEHLER_UEBERLAUF ||
               a.fehler == FEHLER_DATEIENDE);
    // A rest exists exactly when the reading stopped on a fault, and it is the input's tail
    // right behind the records that were taken.
    QK_PRUEFEN((a.fehler != 0) == !a.rest.isEmpty());
    if (a.fehler != 0) {
        QK_PRUEFEN(a.liste.size() * IDMAP_SATZ + a.rest.size() == eingabe.size());
        QK_PRUEFEN(eingabe.endsWith(a.rest));
    }
    for (const IdmapEintrag& e : a.liste) {
        QK_PRUEFEN(e.ID != 0);
        QK_PRUEFEN(e.Status.isEmpty());
        Feld_Prüfen(e.UserName);
        Feld_Prüfen(e.PCName);
        Feld_Prüfen(e.LocalPath);
    }
    // What a save writes reads back as the same users, the same fault and the same rest.
    const Idmap_Inhalt b = Idmap_Zerlegen(Idmap_Bytes(a.liste) + a.rest);
    QK_PRUEFEN(b.fehler == a.fehler);
    QK_PRUEFEN(b.rest == a.rest);
    QK_PRUEFEN(b.liste.size() == a.liste.size());
    for (qsizetype i = 0; i < a.liste.size(); ++i)
        QK_PRUEFEN(Gleich(a.liste[i], b.liste[i]));
}

std::vector<QByteArray> Saat_Idmap() {
    using test::Idmap_Satz;
    const QByteArray drei =
        Idmap_Satz(1, "ANNA", "PC01", "C:\\CAD\\") + Idmap_Satz(2, "BERT") + Idmap_Satz(3, "CARL");
    QByteArray ohneNull = Idmap_Satz(2, "BERT");
    ohneNull.replace(261, 260, QByteArray(260, 'y'));
    const QByteArray keine(1, '\0');
    return {
        {},
        keine + QByteArray(1, '\0'),
        keine + drei,
        keine + drei + QByteArray(1, '\0') + "garbage behind the end",
        keine + Idmap_Satz(1, "ANNA") + Idmap_Satz(2, "BERT").left(500),
        keine + Idmap_Satz(1, "ANNA") + ohneNull + Idmap_Satz(3, "CARL"),
        keine + Idmap_Satz(4, "  ERNA  ", "\tPC\t", " D:\\x y\\ "),
        keine + Idmap_Satz(5, "J\xFCrgen \x80\x81\x9F", "\xFF\xFE"),
        keine + Idmap_Satz(254, QByteArray(259, 'x'), QByteArray(259, ' ')),
        // 253 + 3 records, the most the list holds, then a record cut short.
        QByteArray(1, char(250)) + drei + drei.left(100),
        // 256 records, then the end or a terminator; 257 records.
        QByteArray(1, char(251)) + drei.left(2 * IDMAP_SATZ),
        QByteArray(1, char(250)) + drei + QByteArray(1, '\0'),
        QByteArray(1, char(252)) + drei.left(2 * IDMAP_SATZ),
    };
}

} // namespace qk::fuzz
