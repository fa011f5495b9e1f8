#pragma once

#include "shell/zustand.h"

#include <QString>

// Small routines that every part of the program shares.
namespace qk {

// True when the file named by the path directly followed by the name exists.
bool Datei_Existiert(const QString& pfad, const QString& name);

// The part of the text before its first NUL. A text without a NUL throws
// qk::Fehler(FEHLER_ARGUMENT).
QString Bis_Null_Abschneiden(const QString& text);

// The text without blanks at either end. Only blanks: tabs and other characters belong to
// the text, as the workstations trim.
QString Blanks_Entfernen(const QString& text);

// The folder dialog: a folder path ending with the separator in which `datei` exists, or
// `vorher` unchanged when the user gives up.
QString Verzeichnis_Wählen(Zustand& z, const QString& vorher, const QString& datei);

// Asks again until the chosen folder holds `datei` or the user cancels (then `gewählt`
// becomes `vorher`).
void Verzeichnis_Prüfen(Zustand& z, QString& gewählt, const QString& vorher, const QString& datei);

// Reads QK_LIBPATHS.TXT of the Global Directory into LibListe. Nothing happens when the file
// does not exist. Failures throw qk::Fehler for the caller to report; their number stays in
// LibPaths_Fehler (also when the Global Directory cannot be reached), so that the list is not
// written over.
void LibPaths_Einlesen(Zustand& z);

} // namespace qk
