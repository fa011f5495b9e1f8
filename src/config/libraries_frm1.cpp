#include "config/libraries_frm1.h"

#include "config/libpaths.h"
#include "platform/ansi.h"
#include "platform/dateien.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/masse.h"
#include "shell/routinen.h"
#include "shell/texte.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace qk {

Libraries_frm1::Libraries_frm1(Zustand& z, std::function<void()> menüs_Freigeben, QWidget* parent)
    : QDialog(parent), m_z(z), m_menüs_Freigeben(std::move(menüs_Freigeben)) {
    setObjectName(QStringLiteral("Libraries_frm1"));
    setWindowTitle(QStringLiteral("Bibliotheken"));
    const double m = Schriftmaßstab(this);

    m_Label1 = new QLabel(QStringLiteral("Pfad :"), this);
    m_Label1->setObjectName(QStringLiteral("Label1"));
    m_Label1->setGeometry(Twips_Rechteck(m, 240, 240, 1695, 255));

    m_cbo_Libraries = new QComboBox(this);
    m_cbo_Libraries->setObjectName(QStringLiteral("cbo_Libraries"));
    m_cbo_Libraries->setEditable(true);
    // Typing a path must not add it to the list: the list shows LibListe and nothing else.
    m_cbo_Libraries->setInsertPolicy(QComboBox::NoInsert);
    // Inline completion would swallow Return while the text is selected (as after Tab), so
    // Return would not reach OK.
    m_cbo_Libraries->setCompleter(nullptr);
    m_cbo_Libraries->setGeometry(Twips_Rechteck(m, 240, 600, 4695, 315));
    m_Label1->setBuddy(m_cbo_Libraries);

    m_cmd_Wählen = new QPushButton(QStringLiteral("&Wählen..."), this);
    m_cmd_Wählen->setObjectName(QStringLiteral("cmd_Wählen"));
    m_cmd_Wählen->setGeometry(Twips_Rechteck(m, 5040, 600, 975, 315));

    m_cmd_OK = new QPushButton(QStringLiteral("&OK"), this);
    m_cmd_OK->setObjectName(QStringLiteral("cmd_OK"));
    m_cmd_OK->setGeometry(Twips_Rechteck(m, 1800, 1320, 1335, 375));
    m_cmd_OK->setDefault(true);

    m_cmd_Abbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    m_cmd_Abbrechen->setObjectName(QStringLiteral("cmd_Abbrechen"));
    m_cmd_Abbrechen->setGeometry(Twips_Rechteck(m, 3240, 1320, 1335, 375));

    Dialog_Einrichten(this, m, 6255, 1815);

    connect(m_cbo_Libraries, &QComboBox::activated, this, [this] { cbo_Libraries_Click(); });
    connect(m_cmd_Wählen, &QPushButton::clicked, this, [this] { cmd_Wählen_Click(); });
    connect(m_cmd_OK, &QPushButton::clicked, this, [this] { cmd_OK_Click(); });
    connect(m_cmd_Abbrechen, &QPushButton::clicked, this, [this] { cmd_Abbrechen_Click(); });

    Form_Load();
}

void Libraries_frm1::Form_Load() {
    // Entries that a Choose of this run added before a Cancel are in LibListe although no file
    // lists them yet; OK writes them, so the list shows them too.
    if (Datei_Existiert(m_z.GlobalPath, LIBPATHS_DATEI) || !m_z.LibListe.isEmpty())
        Werte_In_ComboBox_Übertragen();
    m_cbo_Libraries->setEditText(m_z.LibPath);
}

void Libraries_frm1::Werte_In_ComboBox_Übertragen() {
    m_cbo_Libraries->clear();
    m_cbo_Libraries->addItems(m_z.LibListe);
    m_cbo_Libraries->setEditText(m_z.LibPath);
    // Libraries often differ deep inside long paths: the list shows them whole.
    QAbstractItemView* liste = m_cbo_Libraries->view();
    liste->setTextElideMode(Qt::ElideNone);
    liste->setMinimumWidth(liste->sizeHintForColumn(0) + 2 * liste->frameWidth() +
                           liste->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

void Libraries_frm1::cbo_Libraries_Click() {
    if (!m_cbo_Libraries->currentText().isEmpty() && m_menüs_Freigeben)
        m_menüs_Freigeben();
}

void Libraries_frm1::cmd_Wählen_Click() {
    try {
        m_z.LibPath_Alt = m_z.LibPath;
        m_z.LibPath = Verzeichnis_Wählen(m_z, m_z.LibPath_Alt, LIBINFO_DATEI);
        // Written into the single-byte list, such a name would read back as a folder that does
        // not exist, and every walk over the Libraries would skip it.
        if (!Ansi_Darstellbar(m_z.LibPath)) {
            m_z.plattform.Meldung(LoadResString(2174) + CRLF + m_z.LibPath, LoadResString(2172),
                                  Symbol::Stopp, Knöpfe::OK);
            m_z.LibPath = m_z.LibPath_Alt;
            return;
        }
        switch (LibPath_Aufnehmen(m_z.LibListe, m_z.LibPath)) {
        case Aufnahme::Erste:
            // The first Library of all only becomes the combo box's text; the list is not
            // refilled and the menus stay as they are until the next start.
            m_cbo_Libraries->setEditText(m_z.LibPath);
            return;
        case Aufnahme::Vorhanden:
            m_z.plattform.Meldung(LoadResString(2173), LoadResString(2172), Symbol::Stopp,
                                  Knöpfe::OK);
            break;
        case Aufnahme::Angehaengt:
        case Aufnahme::Leer:
            break;
        }
        Werte_In_ComboBox_Übertragen();
        if (!m_z.LibPath.isEmpty() && m_menüs_Freigeben)
            m_menüs_Freigeben();
    } catch (const Fehler& f) {
        Fehler_Melden(m_z.plattform, QStringLiteral("cmd_Wählen"), LoadResString(2171), f.Nummer());
    }
}

void Libraries_frm1::cmd_OK_Click() {
    QString pfad = m_cbo_Libraries->currentText();
    // A typed path without its closing separator would put the Library's files next to the
    // folder instead of into it.
    if (!pfad.isEmpty() && !pfad.endsWith(QLatin1Char('/')) && !pfad.endsWith(QLatin1Char('\\')))
        pfad += datei::Trenner();
    m_z.LibPath = pfad;
    Datei_LibPath_Schreiben(m_z, m_z.GlobalPath);
    accept();
}

void Libraries_frm1::cmd_Abbrechen_Click() {
    reject();
}

void Libraries_Zeigen(Zustand& z, QWidget* parent, std::function<void()> menüs_Freigeben) {
    Libraries_frm1 dialog(z, std::move(menüs_Freigeben), parent);
    dialog.exec();
}

} // namespace qk
