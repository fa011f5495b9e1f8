#include "test_plattform.h"

#include "platform/fehler.h"

namespace qk::test {

Antwort TestPlattform::Meldung(const QString& text, const QString& titel, Symbol symbol,
                               Knöpfe knöpfe) {
    const GezeigteMeldung m{text, titel, symbol, knöpfe};
    meldungen.append(m);
    if (beiMeldung)
        beiMeldung(m);
    if (knöpfe == Knöpfe::OK)
        return Antwort::OK;
    if (!antworten.isEmpty())
        return antworten.takeFirst();
    return knöpfe == Knöpfe::JaNein ? Antwort::Nein : Antwort::Abbrechen;
}

QString TestPlattform::Speichern_Dialog(const QString& filter) {
    speichernFilter.append(filter);
    if (speichernFehler != 0)
        throw Fehler(speichernFehler);
    return speichernAntworten.isEmpty() ? QString() : speichernAntworten.takeFirst();
}

void TestPlattform::Zwischenablage_Setzen(const QString& text) {
    if (zwischenablageFehler != 0)
        throw Fehler(zwischenablageFehler);
    zwischenablage = text;
}

QStringList TestPlattform::Titel() const {
    QStringList t;
    for (const GezeigteMeldung& m : meldungen)
        t.append(m.titel);
    return t;
}

QStringList TestPlattform::Gezeigt(const QString& trenner) const {
    QStringList t;
    for (const GezeigteMeldung& m : meldungen)
        t.append(m.titel + trenner + m.text);
    return t;
}

} // namespace qk::test
