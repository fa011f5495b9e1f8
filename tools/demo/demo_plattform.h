#pragma once

#include "platform/plattform.h"

#include <QDateTime>
#include <QStringList>

namespace qk::demo {

// The platform while the generator runs the program's own routines: no windows, a clock that
// shows the moment of the event being written, and every message box kept as a fault, since
// building a demo site must never meet one.
class DemoPlattform : public Plattform {
public:
    QStringList meldungen;
    QDateTime jetzt;

    Antwort Meldung(const QString& text, const QString& titel, Symbol, Knöpfe) override {
        meldungen.append(titel + QStringLiteral(": ") + text);
        return Antwort::OK;
    }
    QString Ordner_Dialog(const QString&) override { return {}; }
    QString Speichern_Dialog(const QString&) override { return {}; }
    void Zwischenablage_Setzen(const QString&) override {}
    QString Einstellung_Lesen(const QString&, const QString&) override { return {}; }
    void Einstellung_Schreiben(const QString&, const QString&, const QString&) override {}
    QDateTime Jetzt() override { return jetzt; }
    void Ereignisse_Verarbeiten() override {}
};

} // namespace qk::demo
