// Numbers read from outside: the User-ID in a login marker's name and the User-ID typed for
// QK_LOCAL.NET. No text gives a number that does not fit where it goes.
#include "config/local_net.h"
#include "platform/ansi.h"
#include "shell/zahl.h"
#include "ziele.h"

#include <QList>
#include <cmath>

namespace qk::fuzz {

// Input: the number's text, a NUL, the Global Directory, a NUL, the local directory.
void Zahlen(const QByteArray& eingabe) {
    const QList<QByteArray> teile = eingabe.split('\0');
    const QString text = Von_Ansi(teile.value(0));
    const QString global = Von_Ansi(teile.value(1));
    const QString lokal = Von_Ansi(teile.value(2));

    const double zahl = Zahl_Lesen(text);
    QK_PRUEFEN(!std::isnan(zahl));
    const double gerundet = Runden_Gerade(zahl);
    QK_PRUEFEN(!std::isnan(gerundet));
    QK_PRUEFEN(std::isinf(zahl) || std::abs(gerundet - zahl) <= 0.5);
    // The marker name holds three characters at the place of the number.
    const double marke = Runden_Gerade(Zahl_Lesen(text.left(3)));
    QK_PRUEFEN(marke >= -99 && marke <= 999);

    const double nummer = UserNummer_Lesen(text);
    QK_PRUEFEN(!std::isnan(nummer) && nummer == std::nearbyint(nummer));
    const QString grund = Local_Eingabe_Prüfen(text, global, lokal);
    if (!grund.isEmpty())
        return;
    // Accepted input converts to the one byte of the file without loss.
    QK_PRUEFEN(nummer >= 1 && nummer <= 254);
    const QByteArray inhalt = Local_Inhalt(quint8(nummer), global, lokal);
    QK_PRUEFEN(inhalt.size() == LOCAL_GROESSE);
    QK_PRUEFEN(quint8(inhalt[0]) == quint8(nummer));
    QK_PRUEFEN(inhalt.mid(1, LOCAL_FELD).startsWith(qk::Ansi(global) + '\0'));
}

std::vector<QByteArray> Saat_Zahlen() {
    const QByteArray pfade("\0C:\\Global\\\0C:\\CAD\\", 19);
    return {
        "7" + pfade,          " 254" + pfade,
        "255" + pfade,        "1e3" + pfade,
        "-0.5" + pfade,       "2.5" + pfade,
        "3.5" + pfade,        "1e400" + pfade,
        "abc" + pfade,        "+12.4e0" + pfade,
        ".5" + pfade,         "5." + pfade,
        "\t9" + pfade,        "00012",
        QByteArray(400, '9'), QByteArray("7\0\0", 3) + QByteArray(300, 'x'),
    };
}

} // namespace qk::fuzz
