#pragma once

#include "platform/plattform.h"

#include <QElapsedTimer>

namespace qk {

// The platform services on a real desktop, through Qt Widgets.
class QtPlattform : public Plattform {
public:
    QtPlattform();

    Antwort Meldung(const QString& text, const QString& titel, Symbol symbol,
                    Knöpfe knöpfe) override;
    QString Ordner_Dialog(const QString& hinweis) override;
    QString Speichern_Dialog(const QString& filter) override;
    void Zwischenablage_Setzen(const QString& text) override;
    QString Einstellung_Lesen(const QString& gruppe, const QString& name) override;
    void Einstellung_Schreiben(const QString& gruppe, const QString& name,
                               const QString& wert) override;
    QDateTime Jetzt() override;
    void Ereignisse_Verarbeiten() override;

private:
    QElapsedTimer m_seitEreignissen;
};

} // namespace qk
