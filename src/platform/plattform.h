#pragma once

#include <QDateTime>
#include <QString>

// The user-interface services of the operating system that the program's logic needs:
// message boxes, the folder and save dialogs, the clipboard, the settings store, the clock and
// the processing of pending events. The windows get the Qt implementation (qt_plattform.h);
// tests get one that answers from a script and records what was shown.
namespace qk {

enum class Symbol { Stopp, Ausruf, Information };
enum class Knöpfe { OK, OKAbbrechen, JaNein, JaNeinAbbrechen };
enum class Antwort { OK, Abbrechen, Ja, Nein };

class Plattform {
public:
    virtual ~Plattform() = default;

    virtual Antwort Meldung(const QString& text, const QString& titel, Symbol symbol,
                            Knöpfe knöpfe = Knöpfe::OK) = 0;

    // The folder dialog (folders only). Returns the chosen folder without a trailing
    // separator, or an empty text when the user cancelled.
    virtual QString Ordner_Dialog(const QString& hinweis) = 0;

    // The save dialog with one filter entry ("Description (*.ext)"). Returns the chosen file
    // name, or an empty text when the user cancelled. Other failures throw qk::Fehler.
    virtual QString Speichern_Dialog(const QString& filter) = 0;

    // Empties the clipboard and puts plain text on it. Throws qk::Fehler when it cannot.
    virtual void Zwischenablage_Setzen(const QString& text) = 0;

    virtual QString Einstellung_Lesen(const QString& gruppe, const QString& name) = 0;
    virtual void Einstellung_Schreiben(const QString& gruppe, const QString& name,
                                       const QString& wert) = 0;

    virtual QDateTime Jetzt() = 0;

    // Lets pending window events through, so that windows repaint and progress bars move
    // during long work. Cheap to call often: it only does something every few milliseconds,
    // and never lets user input in, so no second command can start meanwhile.
    virtual void Ereignisse_Verarbeiten() = 0;
};

} // namespace qk
