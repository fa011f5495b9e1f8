#pragma once

#include "platform/plattform.h"

#include <QString>

namespace qk {

// The labels in front of the error number; each family of procedures has its own.
inline const QString LABEL_NUMMER = QStringLiteral("Error number: ");
inline const QString LABEL_NR = QStringLiteral("Error Nr: ");        // readers, log appender
inline const QString LABEL_NR_PUNKT = QStringLiteral("Error Nr.: "); // Bookdata_Speichern
inline const QString LABEL_ERRORNR = QStringLiteral("ErrorNr: ");    // save dialog

inline const QString CRLF = QStringLiteral("\r\n");

// The program's error report: the text, a line break, the label and the error number in
// decimal; title the procedure's name followed by "_Error"; exclamation icon, OK button.
void Fehler_Melden(Plattform& p, const QString& prozedur, const QString& text, int nummer,
                   const QString& label = LABEL_NUMMER);

} // namespace qk
