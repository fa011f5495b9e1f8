// What people type: the index number, and the User-ID with the paths of QK_LOCAL.NET.
// Nothing but an index folder of the digits typed reaches a path, and no text gives a number
// or a path that does not fit where it goes.
#include "bookdata/bookdata.h"
#include "config/local_net.h"
#include "platform/ansi.h"
#include "platform/fehler.h"
#include "shell/zahl.h"
#include "test_plattform.h"
#include "ziele.h"

#include <QList>
#include <cmath>

namespace qk::fuzz {
namespace {

void Index_Prüfen(const QString& text) {
    test::TestPlattform p;
    Zustand z(p);
    const bool ziffer =
        !text.isEmpty() && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9');
    QString name;
    try {
        name = Index_Ordnername(z, text);
    } catch (const Fehler& f) {
        QK_PRUEFEN(f.Nummer() == FEHLER_TYP && !ziffer && p.meldungen.isEmpty());
        return;
    }
    QK_PRUEFEN(ziffer);
    // The digits typed are the name's last digits, zeros filled in front.
    QK_PRUEFEN(name.isEmpty()
                   ? p.meldungen.size() == 1
                   : Ist_Indexordner(name) && name.endsWith(text) && p.meldungen.isEmpty());
}

} // namespace

void Indexname(const QByteArray& eingabe) {
    Index_Prüfen(Von_Ansi(eingabe));
    Index_Prüfen(Utf16_Text(eingabe));
}

std::vector<QByteArray> Saat_Indexname() {
    const QString arabisch = QStringLiteral("\u0661\u0662");
    const QByteArray utf16(reinterpret_cast<const char*>(arabisch.utf16()), arabisch.size() * 2);
    return {"", "-1", "12", "00012", "0012", "123456", "12a", "\xB2", utf16};
}

// Input: the number's text, a NUL, the Global Directory, a NUL, the local directory.
void Zahlen(const QByteArray& eingabe) {
    const QList<QByteArray> t = eingabe.split('\0');
    const QString text = Von_Ansi(t.value(0)), global = Von_Ansi(t.value(1)),
                  lokal = Von_Ansi(t.value(2));

    // Rounding moves a number by a half at most (and a NaN fails here too).
    const double zahl = Zahl_Lesen(text);
    QK_PRUEFEN(std::isinf(zahl) || std::abs(Runden_Gerade(zahl) - zahl) <= 0.5);

    if (!Local_Eingabe_Prüfen(text, global, lokal).isEmpty())
        return;
    // Accepted input fits the file: the number its one byte, each path its field with a NUL.
    const double nummer = UserNummer_Lesen(text);
    QK_PRUEFEN(nummer >= 1 && nummer <= 254 && quint8(nummer) == nummer);
    const QByteArray inhalt = Local_Inhalt(quint8(nummer), global, lokal);
    QK_PRUEFEN(inhalt.size() == LOCAL_GROESSE);
    QK_PRUEFEN(inhalt.mid(1, LOCAL_FELD).startsWith(qk::Ansi(global) + '\0'));
    QK_PRUEFEN(inhalt.mid(2 + LOCAL_FELD).startsWith(qk::Ansi(lokal) + '\0'));
}

std::vector<QByteArray> Saat_Zahlen() {
    const QByteArray pfade("\0C:\\Global\\\0C:\\CAD\\", 19);
    return {"7" + pfade,   "\t 254" + pfade,     "255" + pfade,
            "1e3" + pfade, "-0.5" + pfade,       "+2.5E+0" + pfade,
            "5e" + pfade,  ".5" + pfade,         "-1e400" + pfade,
            "abc" + pfade, QByteArray(400, '9'), QByteArray("7\0\0", 3) + QByteArray(300, 'x')};
}

} // namespace qk::fuzz
