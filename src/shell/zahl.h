#pragma once

#include <QString>

namespace qk {

// The number at the start of a text, read the way the booking system's workstations read
// numbers typed by people: leading blanks and tabs are skipped, an optional sign, digits and
// one decimal point are taken, and, with `exponent`, an exponent that has digits; reading stops
// at the first character that cannot continue the number. No digits give 0; a value beyond
// the range of double gives an infinity of its sign.
double Zahl_Lesen(const QString& text, bool exponent = false);

// Rounds to a whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
double Runden_Gerade(double wert);

} // namespace qk
