#pragma once

#include <QString>
#include <exception>

namespace qk {

// Error numbers that the program tells apart. They travel in a Fehler from the place
// that failed to the procedure whose error handler reports them.
enum Fehlernummer : int {
    FEHLER_ARGUMENT = 5,              // invalid argument (a text field without its NUL)
    FEHLER_UEBERLAUF = 6,             // a value does not fit its type
    FEHLER_INDEX = 9,                 // subscript out of range (a list without elements)
    FEHLER_TYP = 13,                  // type mismatch (text that is not a number)
    FEHLER_DATEI_NICHT_GEFUNDEN = 53, // the folder exists, the file does not
    FEHLER_DATENTRAEGER_VOLL = 61,    // no space left while writing
    FEHLER_DATEIENDE = 62,            // input past end of file (a record cut short)
    FEHLER_ZUGRIFF = 75,              // path or file access error (denied, locked, unreadable)
    FEHLER_PFAD = 76,                 // path not found
    FEHLER_OBJEKT = 91,               // object not set (no selected row)
    FEHLER_RESSOURCE = 326,           // a text number that the text table does not hold
    FEHLER_ABBRUCH = 32755,           // the user cancelled the save dialog
};

class Fehler : public std::exception {
public:
    explicit Fehler(int nummer, QString pfad = {}) : m_nummer(nummer), m_pfad(std::move(pfad)) {}
    int Nummer() const noexcept { return m_nummer; }
    const QString& Pfad() const noexcept { return m_pfad; }
    const char* what() const noexcept override { return "qk::Fehler"; }

private:
    int m_nummer;
    QString m_pfad;
};

} // namespace qk
