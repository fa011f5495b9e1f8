#pragma once

#include "platform/plattform.h"

#include <QStringList>

namespace qk::fuzz {

// A platform without windows for the fuzz bodies: it answers Cancel (or No) and keeps every
// message it was asked to show.
class StillePlattform : public Plattform {
public:
    QStringList meldungen;

    Antwort Meldung(const QString& text, const QString& titel, Symbol, Knöpfe knöpfe) override {
        meldungen.append(titel + QStringLiteral(": ") + text);
        return knöpfe == Knöpfe::JaNein ? Antwort::Nein : Antwort::Abbrechen;
    }
    QString Ordner_Dialog(const QString&) override { return {}; }
    QString Speichern_Dialog(const QString&) override { return {}; }
    void Zwischenablage_Setzen(const QString&) override {}
    QString Einstellung_Lesen(const QString&, const QString&) override { return {}; }
    void Einstellung_Schreiben(const QString&, const QString&, const QString&) override {}
    QDateTime Jetzt() override { return QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)); }
    void Ereignisse_Verarbeiten() override {}
};

} // namespace qk::fuzz
