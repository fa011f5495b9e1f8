#include "demo/einstellungen.h"

#include <QSettings>
#include <stdexcept>

namespace qk::demo {
namespace {

const QString GLOBAL = QStringLiteral("Pathname/GlobalPath");
const QString LIB = QStringLiteral("Pathname/LibPath");

// The organization's file alone, with no application name, as the program keeps it.
QSettings Store() {
    return QSettings(QStringLiteral("Admin-Quorvik"), QString());
}

} // namespace

QString Gespeicherter_Globalpfad() {
    return Store().value(GLOBAL).toString();
}

QString Gespeicherter_Libpfad() {
    return Store().value(LIB).toString();
}

void Pfade_Speichern(const QString& globalPath, const QString& libPath) {
    QSettings s = Store();
    s.setValue(GLOBAL, globalPath);
    s.setValue(LIB, libPath);
    s.sync();
    if (s.status() != QSettings::NoError)
        throw std::runtime_error("cannot write the settings file " + s.fileName().toStdString());
}

Erster_Start Ersten_Start_Vorbereiten(const QString& ordner, Demo_Site& site) {
    site = Demo_Finden(ordner);
    // A stored Global Directory is the user's choice, unless it is the demo site's own and the
    // user deleted the site to get a fresh one.
    const QString gespeichert = Gespeicherter_Globalpfad();
    const bool demoGelöscht =
        gespeichert == site.ordner + QStringLiteral("Global/") && site.globalPath.isEmpty();
    if (!gespeichert.isEmpty() && !demoGelöscht)
        return Erster_Start::Vorhanden;
    Erster_Start was = Erster_Start::Wiederverwendet;
    if (site.globalPath.isEmpty() || site.libraries.isEmpty()) {
        site = Demo_Bauen(ordner);
        was = Erster_Start::Gebaut;
    }
    Pfade_Speichern(site.globalPath, site.libraries.first());
    return was;
}

} // namespace qk::demo
