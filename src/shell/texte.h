#pragma once

#include <QList>
#include <QString>

namespace qk {

// The text of entry `nummer` of the program's text table. A number that the table does not
// hold throws qk::Fehler(FEHLER_RESSOURCE).
QString LoadResString(int nummer);

// Every number of the table, ascending.
QList<int> Textnummern();

} // namespace qk
