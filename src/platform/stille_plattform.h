#pragma once

#include "platform/plattform.h"

#include <QDateTime>
#include <QStringList>

namespace qk {

// A platform without windows for programs that run the booking routines unattended (the demo
// site generator, the benchmark): every message box is kept as a fault of the run, dialogs are
// cancelled, and the clock shows `jetzt` when it is set.
class StillePlattform : public Plattform {
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
    QDateTime Jetzt() override { return jetzt.isValid() ? jetzt : QDateTime::currentDateTime(); }
    void Ereignisse_Verarbeiten() override {}
};

} // namespace qk
