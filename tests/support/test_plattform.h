#pragma once

#include "platform/fehler.h"
#include "platform/plattform.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QStringList>
#include <functional>

namespace qk::test {

// The number of the qk::Fehler that `f` throws, 0 when it throws none.
inline int Geworfen(const std::function<void()>& f) {
    try {
        f();
    } catch (const Fehler& e) {
        return e.Nummer();
    }
    return 0;
}

struct GezeigteMeldung {
    QString text;
    QString titel;
    Symbol symbol;
    Knöpfe knöpfe;
};

// A platform that answers from a script and records everything it was asked to show.
// Questions without a scripted answer are answered with Cancel (or No where there is no
// Cancel), so that a forgotten answer never confirms anything.
class TestPlattform : public Plattform {
public:
    QList<GezeigteMeldung> meldungen; // in the order shown

    // Scripted answers, taken from the front.
    QList<Antwort> antworten;
    QStringList ordnerAntworten;    // folder dialog: a folder, or "" for Cancel
    QStringList speichernAntworten; // save dialog: a file name, or "" for Cancel
    int speichernFehler = 0;        // when not 0, the save dialog throws this number
    QStringList speichernFilter;    // the filters the save dialog was opened with

    // Called as a message box is shown, before it is answered (to change files at that moment).
    std::function<void(const GezeigteMeldung&)> beiMeldung;

    QString zwischenablage;
    int zwischenablageFehler = 0; // when not 0, setting the clipboard throws this number

    QMap<QString, QString> einstellungen; // "Gruppe/Name" -> value
    QDateTime jetzt{QDate(2026, 12, 6), QTime(9, 30, 15)};
    int ereignisse = 0;

    Antwort Meldung(const QString& text, const QString& titel, Symbol symbol,
                    Knöpfe knöpfe) override;
    QString Ordner_Dialog(const QString&) override {
        return ordnerAntworten.isEmpty() ? QString() : ordnerAntworten.takeFirst();
    }
    QString Speichern_Dialog(const QString& filter) override;
    void Zwischenablage_Setzen(const QString& text) override;
    QString Einstellung_Lesen(const QString& gruppe, const QString& name) override {
        return einstellungen.value(gruppe + QLatin1Char('/') + name);
    }
    void Einstellung_Schreiben(const QString& gruppe, const QString& name,
                               const QString& wert) override {
        einstellungen.insert(gruppe + QLatin1Char('/') + name, wert);
    }
    QDateTime Jetzt() override { return jetzt; }
    void Ereignisse_Verarbeiten() override { ++ereignisse; }

    QStringList Titel() const;
    // "title|text" (or another separator) of each message shown so far, in order.
    QStringList Gezeigt(const QString& trenner = QStringLiteral("|")) const;
};

} // namespace qk::test
