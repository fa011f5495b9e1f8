#pragma once

#include <QByteArray>
#include <QString>

// The workstation file QK_LOCAL.NET: user number, Global Directory and local directory in
// fixed fields that the CAD workstations read byte by byte.
namespace qk {

constexpr int LOCAL_FELD = 260;    // bytes of each path field
constexpr int LOCAL_GROESSE = 522; // bytes of the whole file

// The number at the start of the text: leading blanks skipped, a sign, digits with an optional
// fraction and exponent, up to the first character that cannot continue it; rounded to a
// whole number with halves going to the even neighbour. A text that does not start with a
// number gives 0. Hexadecimal and other notations are not numbers here.
double UserNummer_Lesen(const QString& text);

// Why the input cannot make a sound QK_LOCAL.NET, or an empty text when it can. The three
// fields are known not to be empty.
QString Local_Eingabe_Prüfen(const QString& userNumber, const QString& dirPath,
                             const QString& progPath);

// One path field: the text in Windows-1252, a NUL, blanks up to 260 bytes; a text of 260
// characters or more is cut to 260 and has no NUL.
QByteArray Local_Feld(const QString& text);

// The 522 bytes of the file.
QByteArray Local_Inhalt(quint8 userNummer, const QString& dirPath, const QString& progPath);

// Writes the 522 bytes into the file of that name from its first byte and cuts a longer old
// file to them; a missing file is created. Throws qk::Fehler.
void Local_Schreiben(const QString& dateiname, quint8 userNummer, const QString& dirPath,
                     const QString& progPath);

} // namespace qk
