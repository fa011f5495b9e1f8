#pragma once

#include "shell/zustand.h"

#include <QList>
#include <QString>

// What the edit dialog may write into a record of the user map.
namespace qk {

// The text numbers of the refusals.
inline constexpr int TEXT_ID_BEREICH = 511;  // User-ID outside 1 to 254
inline constexpr int TEXT_ID_VERGEBEN = 512; // User-ID of another record
inline constexpr int TEXT_ZU_LANG = 513;     // a text that does not fit its field

// The typed User-ID as a number, rounded halves to even: blanks around it, a sign, digits
// with at most one decimal point and an exponent are taken. Anything else, the empty text
// included, throws qk::Fehler(FEHLER_TYP).
double UserID_Lesen(const QString& text);

// The values typed for record `index` of `liste`.
struct Benutzereingabe {
    double id = 0;
    QString userName;
    QString pcName;
    QString localPath;
};

// 0 when the values can be stored in record `index`, else the number of the text that says
// why not. A User-ID of 0 would end the map when it is read again, and a new one that another
// record has (a removed one not yet saved included, which Undo brings back) would make two
// users answer to one number; the record's own ID is kept even when another has it too. A
// text longer than its field would be cut by the writer.
int Benutzereingabe_Prüfen(const QList<IdmapEintrag>& liste, qsizetype index,
                           const Benutzereingabe& eingabe);

} // namespace qk
