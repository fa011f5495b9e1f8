#include "shell/fehlerbericht.h"

namespace qk {

void Fehler_Melden(Plattform& p, const QString& prozedur, const QString& text, int nummer,
                   const QString& label) {
    p.Meldung(text + CRLF + label + QString::number(nummer), prozedur + QStringLiteral("_Error"),
              Symbol::Ausruf, Knöpfe::OK);
}

} // namespace qk
