#pragma once

#include "demo/demo_site.h"

#include <QString>

// The program's settings store as scripts/run sees it: the same file and keys that the
// program reads at start-up (Admin-Quorvik.conf in the user's configuration folder, group
// Pathname).
namespace qk::demo {

QString Gespeicherter_Globalpfad();
QString Gespeicherter_Libpfad();

// Stores both paths; throws std::runtime_error when the store cannot be written.
void Pfade_Speichern(const QString& globalPath, const QString& libPath);

// What the first start found and did.
enum class Erster_Start { Vorhanden, Gebaut, Wiederverwendet };

// When the store names no Global Directory, makes the demo site in `ordner` (or takes the one
// made there before) and stores its Global Directory and first Library. `site` tells which.
// A stored Global Directory that is this demo site's, deleted since, counts as none.
Erster_Start Ersten_Start_Vorbereiten(const QString& ordner, Demo_Site& site);

} // namespace qk::demo
