#pragma once

#include "shell/zustand.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QTreeWidget;

namespace qk {

class Hilfe_frm1;
class Messages_frm1;

// The main window: the user list and the menu bar from which every command starts. It lives
// for the whole run; its load reads the stored paths, the user map and the library list.
//
// Commands are plain functions connected to a menu item with Befehl_Setzen. A command runs
// only when no other one is running, so work that lets pending events through can never be
// entered twice, and while it runs the user list keeps its selection.
class Idmap_frm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Idmap_frm1(Zustand& z, QWidget* parent = nullptr);
    ~Idmap_frm1() override;

    // ---- Controls; each one's objectName is its member name. ----
    QTreeWidget* lstv_Idmap = nullptr;
    QLabel* lbl_Entries = nullptr;

    // Menus of the menu bar. A whole menu is enabled through its menuAction().
    QMenu* mnu_Datei = nullptr;
    QMenu* mnu_Bearbeiten = nullptr;
    QMenu* mnu_Ansicht = nullptr;
    QMenu* mnu_Hilfe = nullptr;

    QAction* mnu_GlobalDir = nullptr;
    QAction* mnu_LibDir = nullptr;
    QAction* mnu_Strich1 = nullptr;
    QAction* mnu_Speichern = nullptr;
    QAction* mnu_Strich5 = nullptr;
    QAction* mnu_Beenden = nullptr;

    QAction* mnu_UserÄndern = nullptr;
    QAction* mnu_UserLöschen = nullptr;
    QAction* mnu_Strich2 = nullptr;
    QAction* mnu_AlleBuchungenLöschen = nullptr;
    QAction* mnu_BuchungenAufUserLöschen = nullptr;
    QAction* mnu_Strich3 = nullptr;
    QAction* mnu_NETerstellen = nullptr;
    QAction* mnu_Strich10 = nullptr;
    QAction* mnu_Rückgängig = nullptr;

    QAction* mnu_AlleBuchungen = nullptr;
    QAction* mnu_UserBuchungenIndex = nullptr;
    QAction* mnu_BuchungenIndex = nullptr;
    QAction* mnu_Strich4 = nullptr;
    QAction* mnu_Aktualisieren = nullptr;
    QAction* mnu_Strich7 = nullptr;
    QAction* mnu_Log_öffnen = nullptr;
    QAction* mnu_Strich8 = nullptr;
    QAction* mnu_Zwischenablage = nullptr;
    QAction* mnu_Strich9 = nullptr;
    QAction* mnu_Info = nullptr;

    QAction* mnu_Hilfethemen = nullptr;

    // ---- Commands ----

    // Makes `befehl` the command of the menu item; a click runs it through Befehl_Ausführen.
    void Befehl_Setzen(QAction* punkt, std::function<void()> befehl);
    // Runs the item's command now, whatever the item's enabled state, unless a command is
    // already running. False when nothing ran.
    bool Befehl_Ausführen(QAction* punkt);
    bool Beschäftigt() const { return m_beschäftigt; }

    // The help context number of a menu item or menu (its menuAction()); 0 when it has none.
    static int Hilfekontext(const QAction* punkt);

    // ---- Routines that other commands use ----

    // Rebuilds the rows and the row count from IdmapListe, leaving out users marked "DEL".
    void IdmapListe_In_Liste_Übertragen();
    // Takes Gewählt_UserNr, UserNr and UserIndex from the selected row.
    void UserNr_Ermitteln();
    // Selects the row of record `index` of IdmapListe and takes it as above; nothing when no
    // row shows that record.
    void Zeile_Wählen(qsizetype index);

    // The shared small window, loaded (created afresh) when none is loaded; closing it
    // unloads it.
    Messages_frm1& Messages();
    // Input mode, shown modally; afterwards Index_Eingabe holds the chosen index folder or
    // is empty.
    void Eingabe_Anzeigen(const QString& titel, const QString& text);
    // Turns the window into a result message with its OK button, without showing it.
    void Meldung_Anzeigen(const QString& titel, const QString& text);
    // Progress mode: shown without waiting, on top, and receiving Fortschritt_Anzeigen.
    Messages_frm1& Fortschrittsfenster_Zeigen(const QString& titel);
    // Closes the window when one is loaded.
    void Messages_Entladen();

    // Opens the help window at the topic of the help context number; for items without one
    // at the topic of the item named `name`; else at the contents.
    void Hilfe_Zeigen(int kontext, const QString& name = {});
    // The help window; null until it was first opened.
    Hilfe_frm1* Hilfe() const;

    // ---- Handlers ----
    void mnu_GlobalDir_Click();
    void mnu_Beenden_Click();
    void mnu_Aktualisieren_Click();
    void mnu_Info_Click();
    void mnu_Hilfethemen_Click();

    void lstv_Idmap_GotFocus();
    void lstv_Idmap_KeyUp();
    void lstv_Idmap_Click();
    void lstv_Idmap_DblClick();

protected:
    void closeEvent(QCloseEvent* ereignis) override;
    bool eventFilter(QObject* ziel, QEvent* ereignis) override;

private:
    void Menüs_Anlegen();
    void Befehle_Verbinden();
    void Form_Load();
    void Menütexte_Setzen();
    void Spalten_Anlegen();
    void Globalverzeichnis_Einlesen();
    // The closing steps; false when the window must stay open (the map the administrator
    // wanted to save could not be written).
    bool Form_Unload();
    bool Hilfetaste(QWidget* menü);

    Zustand& z;
    QHash<QAction*, std::function<void()>> m_befehle;
    bool m_beschäftigt = false;
    bool m_beenden = false;        // Exit: the window closes without the closing steps
    bool m_libPathGelesen = false; // the load read LibPath from the settings store
    QPointer<Messages_frm1> m_messages;
    QPointer<Hilfe_frm1> m_hilfe;
};

} // namespace qk
