#include "shell/idmap_frm1.h"

#include "platform/fenster.h"

#include "config/libraries_frm1.h"
#include "config/local_frm1.h"
#include "idmap/benutzer_entfernen.h"
#include "idmap/idmap_datei.h"
#include "idmap/logins.h"
#include "idmap/rueckgaengig_befehl.h"
#include "idmap/undo_merker.h"
#include "idmap/user_info_frm1.h"
#include "idmap/zwischenablage.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/hilfe_frm1.h"
#include "shell/masse.h"
#include "shell/routinen.h"
#include "shell/texte.h"
#include "views/abfragen.h"
#include "views/loeschbefehle.h"
#include "views/messages_frm1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <vector>

namespace qk {
namespace {

const QString GRUPPE = QStringLiteral("Pathname");
const QString GLOBALPATH = QStringLiteral("GlobalPath");
const QString LIBPATH = QStringLiteral("LibPath");
const QString FÜNF_BLANKS = QStringLiteral("     ");
const char* const HILFEKONTEXT = "HelpContextID";

// One item of a menu: its member, its name, the text number of its caption (0 for a
// separator) and its help context number (0 for none).
struct Menüpunkt {
    QAction* Idmap_frm1::*glied;
    const char* name;
    int text;
    int hilfe;
};

struct Menü {
    QMenu* Idmap_frm1::*glied;
    const char* name;
    int text; // 0: the menu keeps its own caption
    int hilfe;
    const char* eigenerText;
    std::vector<Menüpunkt> punkte;
};

const std::array<Menü, 4>& Menübaum() {
    using F = Idmap_frm1;
    static const std::array<Menü, 4> baum{{
        {&F::mnu_Datei,
         "mnu_Datei",
         100,
         0,
         "",
         {
             {&F::mnu_GlobalDir, "mnu_GlobalDir", 102, 102},
             {&F::mnu_LibDir, "mnu_LibDir", 104, 104},
             {&F::mnu_Strich1, "mnu_Strich1", 0, 0},
             {&F::mnu_Speichern, "mnu_Speichern", 106, 106},
             {&F::mnu_Strich5, "mnu_Strich5", 0, 0},
             {&F::mnu_Beenden, "mnu_Beenden", 108, 108},
         }},
        {&F::mnu_Bearbeiten,
         "mnu_Bearbeiten",
         120,
         0,
         "",
         {
             {&F::mnu_UserÄndern, "mnu_UserÄndern", 122, 122},
             {&F::mnu_UserLöschen, "mnu_UserLöschen", 124, 124},
             {&F::mnu_Strich2, "mnu_Strich2", 0, 0},
             {&F::mnu_AlleBuchungenLöschen, "mnu_AlleBuchungenLöschen", 126, 126},
             {&F::mnu_BuchungenAufUserLöschen, "mnu_BuchungenAufUserLöschen", 128, 128},
             {&F::mnu_Strich3, "mnu_Strich3", 0, 0},
             {&F::mnu_NETerstellen, "mnu_NETerstellen", 3303, 0},
             {&F::mnu_Strich10, "mnu_Strich10", 0, 0},
             {&F::mnu_Rückgängig, "mnu_Rückgängig", 130, 130},
         }},
        {&F::mnu_Ansicht,
         "mnu_Ansicht",
         150,
         0,
         "",
         {
             {&F::mnu_AlleBuchungen, "mnu_AlleBuchungen", 152, 152},
             {&F::mnu_UserBuchungenIndex, "mnu_UserBuchungenIndex", 154, 154},
             {&F::mnu_BuchungenIndex, "mnu_BuchungenIndex", 156, 156},
             {&F::mnu_Strich4, "mnu_Strich4", 0, 0},
             {&F::mnu_Aktualisieren, "mnu_Aktualisieren", 158, 158},
             {&F::mnu_Strich7, "mnu_Strich7", 0, 0},
             {&F::mnu_Log_öffnen, "mnu_Log_öffnen", 159, 159},
             {&F::mnu_Strich8, "mnu_Strich8", 0, 0},
             {&F::mnu_Zwischenablage, "mnu_Zwischenablage", 162, 162},
             {&F::mnu_Strich9, "mnu_Strich9", 0, 0},
             {&F::mnu_Info, "mnu_Info", 160, 160},
         }},
        {&F::mnu_Hilfe,
         "mnu_Hilfe",
         0,
         170,
         "&?",
         {
             {&F::mnu_Hilfethemen, "mnu_Hilfethemen", 171, 172},
         }},
    }};
    return baum;
}

// Disabled items can be highlighted too, so that F1 explains what they would do.
class Menüstil : public QProxyStyle {
public:
    int styleHint(StyleHint hinweis, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* rückgabe) const override {
        if (hinweis == SH_Menu_AllowActiveAndDisabled)
            return 1;
        return QProxyStyle::styleHint(hinweis, option, widget, rückgabe);
    }

    // The style draws no highlight behind a disabled item; a faint one shows where F1 goes.
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* maler,
                     const QWidget* widget) const override {
        if (element == CE_MenuItem && (option->state & State_Selected) &&
            !(option->state & State_Enabled)) {
            QColor farbe = option->palette.color(QPalette::Active, QPalette::Highlight);
            farbe.setAlpha(60);
            maler->fillRect(option->rect, farbe);
        }
        QProxyStyle::drawControl(element, option, maler, widget);
    }
};

// The name of the menu item, or of the menu whose title the action stands for.
QString Menüname(const QAction* punkt) {
    if (punkt->menu() != nullptr)
        return punkt->menu()->objectName();
    return punkt->objectName();
}

} // namespace

Idmap_frm1::Idmap_frm1(Zustand& zustand, QWidget* parent) : QMainWindow(parent), z(zustand) {
    setObjectName(QStringLiteral("Idmap_frm1"));
    setWindowTitle(QStringLiteral("Admin-Quorvik"));

    const double m = Schriftmaßstab(this);
    auto* fläche = new QWidget(this);
    fläche->setFixedSize(Pixel_Aus_Twips(m, 9390), Pixel_Aus_Twips(m, 5025));
    setCentralWidget(fläche);

    lstv_Idmap = new QTreeWidget(fläche);
    lstv_Idmap->setObjectName(QStringLiteral("lstv_Idmap"));
    lstv_Idmap->setGeometry(Twips_Rechteck(m, 120, 120, 9135, 4575));
    lstv_Idmap->setRootIsDecorated(false);
    lstv_Idmap->setItemsExpandable(false);
    lstv_Idmap->setUniformRowHeights(true);
    lstv_Idmap->setSelectionMode(QAbstractItemView::SingleSelection);
    lstv_Idmap->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstv_Idmap->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstv_Idmap->setSortingEnabled(false);
    lstv_Idmap->setAllColumnsShowFocus(true);
    lstv_Idmap->header()->setSectionsClickable(false);
    lstv_Idmap->header()->setStretchLastSection(false);
    lstv_Idmap->installEventFilter(this);
    lstv_Idmap->viewport()->installEventFilter(this);

    lbl_Entries = new QLabel(QStringLiteral("Entries: "), fläche);
    lbl_Entries->setObjectName(QStringLiteral("lbl_Entries"));
    lbl_Entries->setGeometry(Twips_Rechteck(m, 120, 4750, 2895, 255));

    Menüs_Anlegen();
    Befehle_Verbinden();

    // F1 outside the menus opens the help at its contents.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this] { Hilfe_Zeigen(0); });

    adjustSize();
    setFixedSize(sizeHint());
    Bildschirmmitte(this);

    Form_Load();
}

Idmap_frm1::~Idmap_frm1() = default;

void Idmap_frm1::Menüs_Anlegen() {
    auto* stil = new Menüstil;
    stil->setParent(this);
    for (const Menü& menü : Menübaum()) {
        QMenu* q = menuBar()->addMenu(QString::fromUtf8(menü.eigenerText));
        q->setObjectName(QString::fromUtf8(menü.name));
        q->setStyle(stil);
        q->installEventFilter(this);
        this->*menü.glied = q;
        for (const Menüpunkt& p : menü.punkte) {
            auto* a = new QAction(this);
            a->setObjectName(QString::fromUtf8(p.name));
            if (p.text == 0) {
                // A separator's caption would be drawn beside its line.
                a->setSeparator(true);
            } else {
                connect(a, &QAction::triggered, this, [this, a] { Befehl_Ausführen(a); });
            }
            q->addAction(a);
            this->*p.glied = a;
        }
    }
    menuBar()->installEventFilter(this);
}

void Idmap_frm1::Menütexte_Setzen() {
    for (const Menü& menü : Menübaum()) {
        QMenu* q = this->*menü.glied;
        if (menü.text != 0)
            q->setTitle(LoadResString(menü.text));
        q->menuAction()->setProperty(HILFEKONTEXT, menü.hilfe);
        for (const Menüpunkt& p : menü.punkte) {
            if (p.text == 0)
                continue;
            QAction* a = this->*p.glied;
            a->setText(LoadResString(p.text));
            a->setProperty(HILFEKONTEXT, p.hilfe);
        }
    }
}

// The commands of the menu items. Items without a line here are not connected yet.
void Idmap_frm1::Befehle_Verbinden() {
    Befehl_Setzen(mnu_GlobalDir, [this] { mnu_GlobalDir_Click(); });
    Befehl_Setzen(mnu_Beenden, [this] { mnu_Beenden_Click(); });
    Befehl_Setzen(mnu_Aktualisieren, [this] { mnu_Aktualisieren_Click(); });
    Befehl_Setzen(mnu_Info, [this] { mnu_Info_Click(); });
    Befehl_Setzen(mnu_Hilfethemen, [this] { mnu_Hilfethemen_Click(); });
    Befehl_Setzen(mnu_LibDir, [this] {
        Libraries_Zeigen(z, this, [this] {
            mnu_Bearbeiten->menuAction()->setEnabled(true);
            mnu_Ansicht->menuAction()->setEnabled(true);
        });
    });
    Befehl_Setzen(mnu_NETerstellen, [this] { Local_Zeigen(z, this); });
    // Booking queries, the log viewer and deletion by index.
    Befehl_Setzen(mnu_AlleBuchungen, [this] { mnu_AlleBuchungen_Click(z, *this); });
    Befehl_Setzen(mnu_UserBuchungenIndex, [this] { mnu_UserBuchungenIndex_Click(z, *this); });
    Befehl_Setzen(mnu_BuchungenIndex, [this] { mnu_BuchungenIndex_Click(z, *this); });
    Befehl_Setzen(mnu_Log_öffnen, [this] { mnu_Log_öffnen_Click(z, *this); });
    Befehl_Setzen(mnu_AlleBuchungenLöschen, [this] { mnu_AlleBuchungenLöschen_Click(z, *this); });
    Befehl_Setzen(mnu_BuchungenAufUserLöschen,
                  [this] { mnu_BuchungenAufUserLöschen_Click(z, *this); });

    // The user commands.
    Befehl_Setzen(mnu_UserÄndern, [this] { mnu_UserÄndern_Click(z, *this); });
    Befehl_Setzen(mnu_UserLöschen, [this] { mnu_UserLöschen_Click(z, *this); });
    Befehl_Setzen(mnu_Speichern, [this] { mnu_Speichern_Click(z, *this); });
    Befehl_Setzen(mnu_Rückgängig, [this] { mnu_Rückgängig_Click(z, *this); });
    Befehl_Setzen(mnu_Zwischenablage, [this] { mnu_Zwischenablage_Click(z); });
}

void Idmap_frm1::Befehl_Setzen(QAction* punkt, std::function<void()> befehl) {
    m_befehle.insert(punkt, std::move(befehl));
}

bool Idmap_frm1::Befehl_Ausführen(QAction* punkt) {
    const auto befehl = m_befehle.constFind(punkt);
    if (befehl == m_befehle.constEnd() || m_beschäftigt)
        return false;
    m_beschäftigt = true;
    struct Ende {
        bool& beschäftigt;
        ~Ende() { beschäftigt = false; }
    } ende{m_beschäftigt};
    // A copy: the command may replace its own entry.
    const std::function<void()> ausführen = *befehl;
    ausführen();
    return true;
}

int Idmap_frm1::Hilfekontext(const QAction* punkt) {
    return punkt != nullptr ? punkt->property(HILFEKONTEXT).toInt() : 0;
}

// ---- Load and unload ----

void Idmap_frm1::Form_Load() {
    Plattform& p = z.plattform;
    try {
        Menütexte_Setzen();
        mnu_Rückgängig->setEnabled(false);
        mnu_Speichern->setEnabled(false);
        z.Geändert = false;
        Spalten_Anlegen();

        z.GlobalPath = p.Einstellung_Lesen(GRUPPE, GLOBALPATH);
        if (z.GlobalPath.isEmpty()) {
            p.Meldung(LoadResString(1250) + FÜNF_BLANKS, LoadResString(1251), Symbol::Ausruf);
            mnu_LibDir->setEnabled(false);
            mnu_Bearbeiten->menuAction()->setEnabled(false);
            mnu_Ansicht->menuAction()->setEnabled(false);
            return;
        }
        Globalverzeichnis_Einlesen();
        LibPaths_Einlesen(z);

        z.LibPath = p.Einstellung_Lesen(GRUPPE, LIBPATH);
        m_libPathGelesen = true;
        if (z.LibPath.isEmpty()) {
            p.Meldung(LoadResString(1255) + FÜNF_BLANKS, LoadResString(1256), Symbol::Ausruf);
            mnu_Bearbeiten->menuAction()->setEnabled(false);
            mnu_Ansicht->menuAction()->setEnabled(false);
        } else if (!Datei_Existiert(z.LibPath, QStringLiteral("LIBINFO.SYS"))) {
            p.Meldung(LoadResString(2010) + z.LibPath + LoadResString(2016) + LoadResString(2041) +
                          CRLF,
                      LoadResString(2015), Symbol::Ausruf);
        }
        // A command that did not end (a crash, a power cut) left its undo lists and backups on
        // disk and its record in the settings: its Undo is offered, and said so once.
        if (Undo_Übernehmen(z)) {
            mnu_Rückgängig->setEnabled(true);
            p.Meldung(LoadResString(1190) + CRLF + z.Gelöscht_LibListe.join(CRLF),
                      LoadResString(1191), Symbol::Ausruf);
        }
    } catch (const Fehler& f) {
        if (f.Nummer() == FEHLER_INDEX)
            return;
        Fehler_Melden(p, QStringLiteral("Form_Load"), LoadResString(2000), f.Nummer());
    }
}

void Idmap_frm1::Spalten_Anlegen() {
    const double breite = lstv_Idmap->width();
    const std::array<std::pair<int, double>, 5> spalten{{
        {210, breite / 10},
        {211, breite / 4},
        {212, breite / 5},
        {213, breite / 3},
        {214, breite / 10},
    }};
    QStringList köpfe;
    for (const auto& [text, anteil] : spalten)
        köpfe.append(LoadResString(text));
    lstv_Idmap->setColumnCount(int(köpfe.size()));
    lstv_Idmap->setHeaderLabels(köpfe);
    for (int i = 0; i < int(spalten.size()); ++i)
        lstv_Idmap->setColumnWidth(i, int(spalten[size_t(i)].second));
}

// Reads the map of GlobalPath, detects the logins and fills the list; each step reports
// its own failures.
void Idmap_frm1::Globalverzeichnis_Einlesen() {
    Qk_Idmap_Öffnen(z, z.GlobalPath);
    UserLogins_Ermitteln(z);
    IdmapListe_In_Liste_Übertragen();
}

bool Idmap_frm1::Form_Unload() {
    Plattform& p = z.plattform;
    if (z.Geändert) {
        // A save that failed (a Global Directory gone, a full disk) keeps the window open:
        // closing would throw the changes away. Answering No still closes.
        if (p.Meldung(LoadResString(1020), LoadResString(1021), Symbol::Ausruf, Knöpfe::JaNein) ==
                Antwort::Ja &&
            !Qk_Idmap_Speichern(z, z.GlobalPath))
            return false;
    }
    try {
        p.Einstellung_Schreiben(GRUPPE, GLOBALPATH, z.GlobalPath);
        // Without a Global Directory the load never read the Library path; an empty one
        // would only overwrite the Library the store still remembers.
        if (m_libPathGelesen || !z.LibPath.isEmpty())
            p.Einstellung_Schreiben(GRUPPE, LIBPATH, z.LibPath);
    } catch (const Fehler& f) {
        Fehler_Melden(p, QStringLiteral("Form_Unload"), LoadResString(1022), f.Nummer());
    }
    return true;
}

void Idmap_frm1::closeEvent(QCloseEvent* ereignis) {
    if (!m_beenden) {
        // A close request that arrives while a command lets events through waits for it.
        if (m_beschäftigt) {
            ereignis->ignore();
            return;
        }
        if (!Form_Unload()) {
            ereignis->ignore();
            return;
        }
    }
    // The small windows go with the main window, so that the program ends.
    if (m_hilfe)
        m_hilfe->close();
    if (m_messages)
        m_messages->close();
    ereignis->accept();
}

// ---- File menu ----

void Idmap_frm1::mnu_GlobalDir_Click() {
    // Reading the map again (of this or another Global Directory) replaces the users in
    // memory: unsaved edits would be gone without a word.
    if (z.Geändert) {
        const Antwort a = z.plattform.Meldung(LoadResString(1020), LoadResString(1021),
                                              Symbol::Ausruf, Knöpfe::JaNeinAbbrechen);
        if (a == Antwort::Abbrechen || (a == Antwort::Ja && !Qk_Idmap_Speichern(z, z.GlobalPath)))
            return;
    }
    const QString vorher = z.GlobalPath;
    z.GlobalPath = Verzeichnis_Wählen(z, vorher, QStringLiteral("QK_IDMAP.NET"));
    // Without any Global Directory there is no map to read; a name without a folder would
    // be looked up in the working folder.
    if (z.GlobalPath.isEmpty())
        return;
    // The Libraries of another Global Directory are not this one's.
    if (z.GlobalPath != vorher)
        z.LibListe.clear();
    lstv_Idmap->clear();
    Globalverzeichnis_Einlesen();
    z.Geändert = false;
    mnu_Speichern->setEnabled(false);
    try {
        LibPaths_Einlesen(z);
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("mnu_GlobalDir"), LoadResString(2170),
                      f.Nummer());
    }
    mnu_LibDir->setEnabled(true);
}

void Idmap_frm1::mnu_Beenden_Click() {
    try {
        if (z.Geändert) {
            const Antwort a = z.plattform.Meldung(LoadResString(1020), LoadResString(1021),
                                                  Symbol::Ausruf, Knöpfe::JaNeinAbbrechen);
            if (a == Antwort::Abbrechen)
                return;
            if (a == Antwort::Ja) {
                if (!Qk_Idmap_Speichern(z, z.GlobalPath))
                    return; // the changes are not thrown away
                z.Geändert = false;
            }
        }
        m_beenden = true;
        close();
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("mnu_Beenden"), LoadResString(1030), f.Nummer());
    }
}

// ---- View menu ----

void Idmap_frm1::mnu_Aktualisieren_Click() {
    UserLogins_Ermitteln(z);
    IdmapListe_In_Liste_Übertragen();
}

void Idmap_frm1::mnu_Info_Click() {
    UserLogins_Ermitteln(z);
    IdmapListe_In_Liste_Übertragen();
    const QString zehn(10, QLatin1Char(' '));
    const QString text = LoadResString(200) + CRLF + z.GlobalPath + zehn + CRLF + CRLF +
                         LoadResString(201) + z.LibPath + zehn + CRLF + CRLF + LoadResString(211) +
                         QStringLiteral(":  ") + QString::number(lstv_Idmap->topLevelItemCount()) +
                         CRLF + CRLF + LoadResString(214) + QStringLiteral(":  ") +
                         QString::number(z.LoginAnzahl) + QStringLiteral(" ") + LoadResString(203) +
                         CRLF + CRLF + CRLF;
    z.plattform.Meldung(text, LoadResString(161), Symbol::Information);
}

// ---- Help ----

void Idmap_frm1::mnu_Hilfethemen_Click() {
    Hilfe_Zeigen(Hilfekontext(mnu_Hilfethemen));
}

void Idmap_frm1::Hilfe_Zeigen(int kontext, const QString& name) {
    if (m_hilfe.isNull())
        m_hilfe = new Hilfe_frm1(this);
    m_hilfe->Thema_Zeigen(kontext, name);
    m_hilfe->show();
    m_hilfe->raise();
    m_hilfe->activateWindow();
}

Hilfe_frm1* Idmap_frm1::Hilfe() const {
    return m_hilfe.data();
}

// F1 in an open menu, or on a highlighted title of the menu bar: the help of that item.
bool Idmap_frm1::Hilfetaste(QWidget* menü) {
    const QAction* punkt = nullptr;
    if (auto* q = qobject_cast<QMenu*>(menü))
        punkt = q->activeAction();
    else if (auto* leiste = qobject_cast<QMenuBar*>(menü))
        punkt = leiste->activeAction();
    const int kontext = Hilfekontext(punkt);
    const QString name = punkt != nullptr ? Menüname(punkt) : QString();
    while (QWidget* offen = QApplication::activePopupWidget())
        offen->close();
    // After the menu has gone, so that the help window is not opened from inside it.
    QTimer::singleShot(0, this, [this, kontext, name] { Hilfe_Zeigen(kontext, name); });
    return true;
}

// ---- The user list ----

void Idmap_frm1::IdmapListe_In_Liste_Übertragen() {
    const QString prozedur = QStringLiteral("IdmapListe_In_Liste_Übertragen");
    try {
        lstv_Idmap->clear();
        if (z.IdmapListe.isEmpty())
            throw Fehler(FEHLER_INDEX);
        QList<QTreeWidgetItem*> zeilen;
        for (qsizetype i = 0; i < z.IdmapListe.size(); ++i) {
            const IdmapEintrag& e = z.IdmapListe[i];
            if (e.Status == QLatin1String("DEL"))
                continue;
            auto* zeile = new QTreeWidgetItem(
                {QString::number(e.ID), e.UserName, e.PCName, e.LocalPath, e.Status});
            // A map written by hand may hold an ID twice: the row, not the ID, names the record.
            zeile->setData(0, Qt::UserRole, i);
            zeilen.append(zeile);
        }
        lstv_Idmap->addTopLevelItems(zeilen);
        lbl_Entries->setText(QString::number(zeilen.size()) + LoadResString(202));
    } catch (const Fehler& f) {
        if (f.Nummer() == FEHLER_INDEX) {
            z.plattform.Meldung(LoadResString(2110), prozedur + QStringLiteral("_Error"),
                                Symbol::Ausruf);
            // The count follows the list, which is empty now.
            lbl_Entries->setText(QStringLiteral("0") + LoadResString(202));
        } else {
            Fehler_Melden(z.plattform, prozedur, LoadResString(2111), f.Nummer());
        }
    }
}

void Idmap_frm1::UserNr_Ermitteln() {
    try {
        const QList<QTreeWidgetItem*> gewählt = lstv_Idmap->selectedItems();
        if (gewählt.isEmpty())
            return;
        bool zahl = false;
        const int nummer = gewählt.first()->text(0).toInt(&zahl);
        if (!zahl)
            throw Fehler(FEHLER_TYP);
        if (nummer < 0 || nummer > 255)
            throw Fehler(FEHLER_UEBERLAUF);
        z.Gewählt_UserNr = static_cast<quint8>(nummer);
        z.UserNr = z.Gewählt_UserNr;
        z.UserIndex = static_cast<quint8>(gewählt.first()->data(0, Qt::UserRole).toInt());
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("UserNr_Ermitteln"), LoadResString(2160),
                      f.Nummer());
    }
}

void Idmap_frm1::Zeile_Wählen(qsizetype index) {
    for (int i = 0; i < lstv_Idmap->topLevelItemCount(); ++i) {
        QTreeWidgetItem* zeile = lstv_Idmap->topLevelItem(i);
        if (zeile->data(0, Qt::UserRole).toLongLong() == index) {
            lstv_Idmap->setCurrentItem(zeile);
            UserNr_Ermitteln();
            return;
        }
    }
}

void Idmap_frm1::lstv_Idmap_GotFocus() {
    UserNr_Ermitteln();
}

void Idmap_frm1::lstv_Idmap_KeyUp() {
    UserNr_Ermitteln();
}

void Idmap_frm1::lstv_Idmap_Click() {
    try {
        UserNr_Ermitteln();
        for (QAction* a : {mnu_UserÄndern, mnu_UserLöschen, mnu_AlleBuchungenLöschen,
                           mnu_BuchungenAufUserLöschen, mnu_AlleBuchungen, mnu_UserBuchungenIndex})
            a->setEnabled(true);
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("lstv_Idmap_Click"), LoadResString(2160),
                      f.Nummer());
    }
}

void Idmap_frm1::lstv_Idmap_DblClick() {
    if (z.UserIndex >= z.IdmapListe.size())
        return;
    // The edit dialog is the command of Edit User.
    Befehl_Ausführen(mnu_UserÄndern);
}

bool Idmap_frm1::eventFilter(QObject* ziel, QEvent* ereignis) {
    const QEvent::Type art = ereignis->type();
    if (art == QEvent::KeyPress && static_cast<QKeyEvent*>(ereignis)->key() == Qt::Key_F1 &&
        (qobject_cast<QMenu*>(ziel) != nullptr || qobject_cast<QMenuBar*>(ziel) != nullptr))
        return Hilfetaste(static_cast<QWidget*>(ziel));

    const bool liste = ziel == lstv_Idmap;
    const bool fläche = ziel == lstv_Idmap->viewport();
    if (!liste && !fläche)
        return QMainWindow::eventFilter(ziel, ereignis);

    switch (art) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // While a command runs the selection it works on stays as it is.
        if (m_beschäftigt)
            return true;
        break;
    default:
        break;
    }

    if (liste && art == QEvent::FocusIn) {
        // Coming back from another window or a menu changes no selection.
        const Qt::FocusReason grund = static_cast<QFocusEvent*>(ereignis)->reason();
        if (grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason)
            lstv_Idmap_GotFocus();
    } else if (liste && art == QEvent::KeyRelease) {
        lstv_Idmap_KeyUp();
    } else if (fläche && art == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(ereignis)->button() == Qt::LeftButton) {
        lstv_Idmap_Click();
    } else if (fläche && art == QEvent::MouseButtonDblClick &&
               static_cast<QMouseEvent*>(ereignis)->button() == Qt::LeftButton) {
        // After the list has handled the double click itself.
        QTimer::singleShot(0, this, [this] {
            if (!m_beschäftigt)
                lstv_Idmap_DblClick();
        });
    }
    return QMainWindow::eventFilter(ziel, ereignis);
}

// ---- The shared small window ----

Messages_frm1& Idmap_frm1::Messages() {
    if (m_messages.isNull() || m_messages->Entladen()) {
        if (m_messages)
            m_messages->deleteLater();
        m_messages = new Messages_frm1(z, this);
    }
    return *m_messages;
}

void Idmap_frm1::Eingabe_Anzeigen(const QString& titel, const QString& text) {
    Messages_frm1& m = Messages();
    m.Eingabemodus(titel, text);
    m.exec();
}

void Idmap_frm1::Meldung_Anzeigen(const QString& titel, const QString& text) {
    Messages().Meldungsmodus(titel, text);
}

Messages_frm1& Idmap_frm1::Fortschrittsfenster_Zeigen(const QString& titel) {
    Messages_frm1& m = Messages();
    m.Fortschritt_Zeigen(titel);
    return m;
}

void Idmap_frm1::Messages_Entladen() {
    if (m_messages && !m_messages->Entladen())
        m_messages->close();
}

} // namespace qk
