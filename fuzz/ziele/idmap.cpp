// QK_IDMAP.NET: any bytes give users whose fields fit, that a save writes back as they were
// read, and what the reader cannot take is kept whole.
#include "idmap/idmap_datei.h"
#include "idmap_bau.h"
#include "ziele.h"

namespace qk::fuzz {

// Input: a byte r, then the file. With r from 250 on, the file's first record stands r + 3
// more times in front of it, so that small inputs reach maps of 256 records and more.
void Idmap(const QByteArray& roh) {
    Leser l{roh};
    const int r = l.Byte();
    const QByteArray datei = l.Rest();
    const QByteArray eingabe = datei.left(IDMAP_SATZ).repeated(r >= 250 ? r + 3 : 0) + datei;
    const Idmap_Inhalt a = Idmap_Zerlegen(eingabe);
    QK_PRUEFEN(a.liste.size() <= IDMAP_MAX_SÄTZE);
    // A rest exists exactly when the reading stopped on a fault or after 256 records with more
    // to come, and it is the input's tail right behind the records that were taken.
    const bool voll = a.liste.size() == IDMAP_MAX_SÄTZE &&
                      eingabe.size() > IDMAP_MAX_SÄTZE * IDMAP_SATZ &&
                      eingabe[IDMAP_MAX_SÄTZE * IDMAP_SATZ] != 0;
    QK_PRUEFEN((a.fehler != 0 || voll) == !a.rest.isEmpty());
    QK_PRUEFEN(a.rest.isEmpty() || a.rest == eingabe.mid(a.liste.size() * IDMAP_SATZ));
    for (const IdmapEintrag& e : a.liste)
        QK_PRUEFEN(e.UserName.size() < IDMAP_FELD && e.PCName.size() < IDMAP_FELD &&
                   e.LocalPath.size() < IDMAP_FELD);
    // What a save writes reads back as the same users, the same fault and the same rest.
    const QByteArray gespeichert = Idmap_Bytes(a.liste);
    const Idmap_Inhalt b = Idmap_Zerlegen(gespeichert + a.rest);
    QK_PRUEFEN(b.fehler == a.fehler && b.rest == a.rest && Idmap_Bytes(b.liste) == gespeichert);
}

std::vector<QByteArray> Saat_Idmap() {
    using test::Idmap_Satz;
    const QByteArray drei = Idmap_Satz(1, "ANNA", "PC01", "C:\\CAD\\") +
                            Idmap_Satz(4, "  ERNA  ", "\tPC\t", " D:\\x y\\ ") +
                            Idmap_Satz(254, "J\xFCrgen \x80\x81\x9F", QByteArray(259, 'x'));
    const QByteArray keine(1, '\0');
    return {
        {},
        keine + drei + keine + "garbage behind the end",
        keine + drei.left(IDMAP_SATZ + 500),
        // A field without its NUL.
        keine + drei.left(IDMAP_SATZ) + Idmap_Satz(2, "BERT").replace(1, 260, QByteArray(260, 'y')),
        // 256 records, then the end or a terminator; 257 records.
        QByteArray(1, char(251)) + drei.left(2 * IDMAP_SATZ),
        QByteArray(1, char(250)) + drei + keine,
        QByteArray(1, char(252)) + drei.left(2 * IDMAP_SATZ),
    };
}

} // namespace qk::fuzz
