// The typed index number: any text gives an index folder name, one message, or the type
// error; nothing else ever reaches a path.
#include "bookdata/bookdata.h"
#include "platform/ansi.h"
#include "platform/fehler.h"
#include "stille_plattform.h"
#include "ziele.h"

namespace qk::fuzz {
namespace {

bool Ziffer(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

void Prüfen(const QString& text) {
    StillePlattform p;
    Zustand z(p);
    QString name;
    try {
        name = Index_Ordnername(z, text);
    } catch (const Fehler& f) {
        QK_PRUEFEN(f.Nummer() == FEHLER_TYP);
        QK_PRUEFEN(text.isEmpty() || !Ziffer(text[0]));
        QK_PRUEFEN(p.meldungen.isEmpty());
        return;
    }
    QK_PRUEFEN(!text.isEmpty() && Ziffer(text[0]));
    if (name.isEmpty()) {
        QK_PRUEFEN(p.meldungen.size() == 1);
        return;
    }
    QK_PRUEFEN(p.meldungen.isEmpty());
    QK_PRUEFEN(Ist_Indexordner(name) && name.startsWith(QLatin1String("idx")));
    // The digits typed are the digits of the name, zeros filled in front.
    QK_PRUEFEN(name.endsWith(text) && text.size() <= 5);
}

} // namespace

void Indexname(const QByteArray& eingabe) {
    Prüfen(Von_Ansi(eingabe));
    Prüfen(Utf16_Text(eingabe));
}

std::vector<QByteArray> Saat_Indexname() {
    const QString arabisch = QStringLiteral("\u0661\u0662");
    return {"12",
            "00012",
            "0",
            "00000",
            "123456",
            "12a",
            "",
            " 12",
            "-1",
            "12.5",
            "99999",
            QByteArray("1\0"
                       "2",
                       3),
            "0012",
            "\t12",
            "1e3",
            "\xB2",
            QByteArray(reinterpret_cast<const char*>(arabisch.utf16()), arabisch.size() * 2)};
}

} // namespace qk::fuzz
