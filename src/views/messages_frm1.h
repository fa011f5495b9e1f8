#pragma once

#include "shell/zustand.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace qk {

// The small shared window of the index commands, in one of three modes:
// - input: asks for an index number and checks that its BOOKDATA.NET exists in the current
//   Library; the folder name is left in Index_Eingabe (empty when none was chosen);
// - progress: shows the folder a long read is searching, with a bar; while it is open it
//   receives Fortschritt_Anzeigen through Zustand::Fortschritt;
// - message: a result text with one OK button.
// A new window starts in the progress layout and empties Index_Eingabe. Closing it, by any
// button or its close box, unloads it: the next use needs a new one.
class Messages_frm1 : public QDialog, public Fortschrittsanzeige {
    Q_OBJECT
public:
    explicit Messages_frm1(Zustand& z, QWidget* parent = nullptr);
    ~Messages_frm1() override;

    // Controls; each one's objectName is its member name.
    QLabel* lbl_Messages = nullptr;
    QLabel* lbl_EingabeText = nullptr;
    QLineEdit* txt_Eingabe = nullptr;
    QProgressBar* pbr_Messages = nullptr;
    QPushButton* cmd_OK = nullptr;
    QPushButton* cmd_Abbrechen = nullptr;
    QPushButton* cmd_OK_2 = nullptr;

    // Input mode with caption and prompt; the caller shows the window modally.
    void Eingabemodus(const QString& titel, const QString& text);
    // Message mode with caption and result text; shown by the caller, or already on screen.
    void Meldungsmodus(const QString& titel, const QString& text);
    // Progress mode: shown without waiting and kept on top; progress goes here until the
    // window closes or changes its mode.
    void Fortschritt_Zeigen(const QString& titel);

    // True once the window has been closed.
    bool Entladen() const { return m_entladen; }

    void Fortschritt_Setzen(const QString& text, int maximum, int wert) override;

    void cmd_OK_Click();
    void cmd_Abbrechen_Click();
    void cmd_OK_2_Click();

public slots:
    void done(int ergebnis) override;

private:
    enum class Modus { Progress, Input, Message };
    void Modus_Setzen(Modus modus);
    void Fortschritt_Abmelden();

    Zustand& z;
    bool m_entladen = false;
};

} // namespace qk
