#include "idmap/user_info_frm1.h"

#include "idmap/benutzer_eintrag.h"
#include "idmap/idmap_datei.h"
#include "platform/ansi.h"
#include "platform/fehler.h"
#include "platform/fenster.h"
#include "shell/fehlerbericht.h"
#include "shell/idmap_frm1.h"
#include "shell/masse.h"
#include "shell/texte.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qk {
namespace {

constexpr int TEXT_NICHT_ANSI = 514;

template <typename T>
T* Element(QWidget* eltern, const char* name, double maßstab, int links, int oben, int breite,
           int höhe) {
    auto* w = new T(eltern);
    w->setObjectName(QString::fromUtf8(name));
    w->setGeometry(Twips_Rechteck(maßstab, links, oben, breite, höhe));
    return w;
}

} // namespace

User_Info_frm1::User_Info_frm1(Zustand& zustand, qsizetype index, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      z(zustand), m_index(index) {
    setObjectName(QStringLiteral("User_Info_frm1"));
    const double m = Schriftmaßstab(this);
    setFixedSize(Pixel_Aus_Twips(m, 5385), Pixel_Aus_Twips(m, 3225));

    // Fields first, so that the tab order runs down the fields to the buttons.
    txt_ID = Element<QLineEdit>(this, "txt_ID", m, 1800, 240, 975, 285);
    txt_UserName = Element<QLineEdit>(this, "txt_UserName", m, 1800, 840, 3375, 285);
    txt_PCName = Element<QLineEdit>(this, "txt_PCName", m, 1800, 1440, 3375, 285);
    txt_LocalPath = Element<QLineEdit>(this, "txt_LocalPath", m, 1800, 2040, 3375, 285);
    cmd_OK = Element<QPushButton>(this, "cmd_OK", m, 1320, 2760, 1335, 375);
    cmd_Abbrechen = Element<QPushButton>(this, "cmd_Abbrechen", m, 2760, 2760, 1335, 375);
    lbl_ID = Element<QLabel>(this, "lbl_ID", m, 240, 240, 1575, 255);
    lbl_Name = Element<QLabel>(this, "lbl_Name", m, 240, 840, 1455, 255);
    lbl_PCName = Element<QLabel>(this, "lbl_PCName", m, 240, 1440, 1455, 255);
    lbl_LocalPath = Element<QLabel>(this, "lbl_LocalPath", m, 240, 2040, 1455, 255);
    lbl_ID->setBuddy(txt_ID);
    lbl_Name->setBuddy(txt_UserName);
    lbl_PCName->setBuddy(txt_PCName);
    lbl_LocalPath->setBuddy(txt_LocalPath);

    cmd_OK->setText(QStringLiteral("&OK"));
    cmd_OK->setDefault(true);
    cmd_Abbrechen->setText(QStringLiteral("&Abbrechen"));
    cmd_Abbrechen->setAutoDefault(false);
    connect(cmd_OK, &QPushButton::clicked, this, [this] { cmd_OK_Click(); });
    connect(cmd_Abbrechen, &QPushButton::clicked, this, [this] { cmd_Abbrechen_Click(); });

    Form_Load();
    Bildschirmmitte(this);
}

void User_Info_frm1::Form_Load() {
    setWindowTitle(LoadResString(500));
    lbl_ID->setText(LoadResString(501));
    lbl_Name->setText(LoadResString(502));
    lbl_PCName->setText(LoadResString(503));
    lbl_LocalPath->setText(LoadResString(213));
}

void User_Info_frm1::cmd_OK_Click() {
    try {
        z.Geändert = true;
        const Benutzereingabe eingabe{UserID_Lesen(txt_ID->text()), txt_UserName->text(),
                                      txt_PCName->text(), txt_LocalPath->text()};
        if (m_index < 0 || m_index >= z.IdmapListe.size())
            throw Fehler(FEHLER_INDEX);
        IdmapEintrag& e = z.IdmapListe[m_index];
        int grund = Benutzereingabe_Prüfen(z.IdmapListe, m_index, eingabe);
        // The records kept behind the list are users of the map as well.
        if (grund == 0 && eingabe.id != e.ID &&
            Idmap_Rest_Hat_ID(z.Idmap_Rest, static_cast<quint8>(eingabe.id)))
            grund = TEXT_ID_VERGEBEN;
        QString fremd;
        // Stored, such a character would come back as '?': the user would lose the name.
        for (const QString* feld : {&eingabe.userName, &eingabe.pcName, &eingabe.localPath}) {
            if (grund == 0 && !Ansi_Darstellbar(*feld)) {
                grund = TEXT_NICHT_ANSI;
                fremd = CRLF + *feld;
            }
        }
        if (grund != 0) {
            z.plattform.Meldung(LoadResString(grund) + fremd, LoadResString(500), Symbol::Ausruf);
            return;
        }
        e.ID = static_cast<quint8>(eingabe.id);
        e.UserName = eingabe.userName;
        e.PCName = eingabe.pcName;
        e.LocalPath = eingabe.localPath;
        accept();
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("cmd_OK"), LoadResString(510), f.Nummer());
    }
}

void User_Info_frm1::cmd_Abbrechen_Click() {
    reject();
}

void mnu_UserÄndern_Click(Zustand& z, Idmap_frm1& frm) {
    const qsizetype index = z.UserIndex;
    // A record marked removed is not listed; it cannot be what the administrator meant.
    if (index >= z.IdmapListe.size() || z.IdmapListe[index].Status == QLatin1String("DEL"))
        return;
    const IdmapEintrag& e = z.IdmapListe[index];
    bool geändert = false;
    {
        User_Info_frm1 dialog(z, index, &frm);
        dialog.txt_ID->setText(QString::number(e.ID));
        dialog.txt_UserName->setText(e.UserName);
        dialog.txt_PCName->setText(e.PCName);
        dialog.txt_LocalPath->setText(e.LocalPath);
        geändert = dialog.exec() == QDialog::Accepted;
    }
    if (geändert) {
        frm.IdmapListe_In_Liste_Übertragen();
        // The rows are built anew; the edited one stays chosen, so that the next command acts
        // on the user the administrator chose and not on whoever comes first.
        frm.Zeile_Wählen(index);
    }
    frm.mnu_Speichern->setEnabled(true);
}

} // namespace qk
