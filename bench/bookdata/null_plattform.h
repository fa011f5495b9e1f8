#pragma once

#include "platform/plattform.h"
#include "shell/zustand.h"

#include <QStringList>

namespace qk::bench {

// A platform without windows: every message box is a fault of the run and is kept, so that
// the benchmark can refuse figures that come from a run with errors.
class NullPlattform : public Plattform {
public:
    QStringList meldungen;

    Antwort Meldung(const QString& text, const QString& titel, Symbol, Knöpfe) override {
        meldungen.append(titel + QStringLiteral(": ") + text);
        return Antwort::OK;
    }
    QString Ordner_Dialog(const QString&) override { return {}; }
    QString Speichern_Dialog(const QString&) override { return {}; }
    void Zwischenablage_Setzen(const QString&) override {}
    QString Einstellung_Lesen(const QString&, const QString&) override { return {}; }
    void Einstellung_Schreiben(const QString&, const QString&, const QString&) override {}
    QDateTime Jetzt() override { return QDateTime::currentDateTime(); }
    void Ereignisse_Verarbeiten() override { ++ereignisse; }

    long long ereignisse = 0;
};

// A progress display that only keeps what it was given, so that composing the text is paid
// for as in the program.
class NullFortschritt : public Fortschrittsanzeige {
public:
    QString text;
    int maximum = 0;
    int wert = 0;
    void Fortschritt_Setzen(const QString& t, int m, int w) override {
        text = t;
        maximum = m;
        wert = w;
    }
};

} // namespace qk::bench
