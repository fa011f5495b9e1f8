#include "views/messages_frm1.h"

#include "bookdata/bookdata.h"
#include "platform/fehler.h"
#include "platform/fenster.h"
#include "shell/fehlerbericht.h"
#include "shell/masse.h"
#include "shell/routinen.h"
#include "shell/texte.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace qk {

Messages_frm1::Messages_frm1(Zustand& zustand, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      z(zustand) {
    setObjectName(QStringLiteral("Messages_frm1"));
    const double m = Schriftmaßstab(this);
    setFixedSize(Pixel_Rechteck(m, 0, 0, 362, 129).size());

    lbl_Messages = new QLabel(QStringLiteral("Info"), this);
    lbl_Messages->setObjectName(QStringLiteral("lbl_Messages"));
    lbl_Messages->setGeometry(Pixel_Rechteck(m, 16, 8, 329, 49));
    lbl_Messages->setWordWrap(true);
    lbl_Messages->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lbl_EingabeText = new QLabel(this);
    lbl_EingabeText->setObjectName(QStringLiteral("lbl_EingabeText"));
    lbl_EingabeText->setGeometry(Pixel_Rechteck(m, 56, 64, 57, 17));

    txt_Eingabe = new QLineEdit(this);
    txt_Eingabe->setObjectName(QStringLiteral("txt_Eingabe"));
    txt_Eingabe->setGeometry(Pixel_Rechteck(m, 120, 64, 177, 19));
    lbl_EingabeText->setBuddy(txt_Eingabe);

    pbr_Messages = new QProgressBar(this);
    pbr_Messages->setObjectName(QStringLiteral("pbr_Messages"));
    pbr_Messages->setGeometry(Pixel_Rechteck(m, 8, 80, 345, 17));
    pbr_Messages->setRange(0, 100);
    pbr_Messages->setValue(0);
    pbr_Messages->setTextVisible(false);

    cmd_OK = new QPushButton(this);
    cmd_OK->setObjectName(QStringLiteral("cmd_OK"));
    cmd_OK->setGeometry(Pixel_Rechteck(m, 80, 96, 97, 25));
    cmd_OK->setDefault(true);

    cmd_Abbrechen = new QPushButton(this);
    cmd_Abbrechen->setObjectName(QStringLiteral("cmd_Abbrechen"));
    cmd_Abbrechen->setGeometry(Pixel_Rechteck(m, 192, 96, 89, 25));
    cmd_Abbrechen->setAutoDefault(false);

    cmd_OK_2 = new QPushButton(this);
    cmd_OK_2->setObjectName(QStringLiteral("cmd_OK_2"));
    cmd_OK_2->setGeometry(Pixel_Rechteck(m, 128, 96, 105, 25));

    setTabOrder(cmd_OK, txt_Eingabe);
    setTabOrder(txt_Eingabe, cmd_Abbrechen);
    setTabOrder(cmd_Abbrechen, cmd_OK_2);

    connect(cmd_OK, &QPushButton::clicked, this, [this] { cmd_OK_Click(); });
    connect(cmd_Abbrechen, &QPushButton::clicked, this, [this] { cmd_Abbrechen_Click(); });
    connect(cmd_OK_2, &QPushButton::clicked, this, [this] { cmd_OK_2_Click(); });

    // Loading: a missing caption leaves the button without one, and the window opens anyway.
    try {
        cmd_OK->setText(LoadResString(400));
        cmd_OK_2->setText(LoadResString(400));
        cmd_Abbrechen->setText(LoadResString(401));
        lbl_EingabeText->setText(LoadResString(402));
    } catch (const Fehler&) {
    }
    z.Index_Eingabe.clear();
    Modus_Setzen(Modus::Progress);
    Bildschirmmitte(this);
}

Messages_frm1::~Messages_frm1() {
    Fortschritt_Abmelden();
}

void Messages_frm1::Modus_Setzen(Modus modus) {
    const bool eingabe = modus == Modus::Input;
    lbl_EingabeText->setVisible(eingabe);
    txt_Eingabe->setVisible(eingabe);
    cmd_OK->setVisible(eingabe);
    cmd_Abbrechen->setVisible(eingabe);
    pbr_Messages->setVisible(modus == Modus::Progress);
    cmd_OK_2->setVisible(modus == Modus::Message);
    if (modus != Modus::Progress)
        Fortschritt_Abmelden();
}

void Messages_frm1::Fortschritt_Abmelden() {
    if (z.Fortschritt == this)
        z.Fortschritt = nullptr;
}

void Messages_frm1::Eingabemodus(const QString& titel, const QString& text) {
    setWindowTitle(titel);
    lbl_Messages->setText(text);
    Modus_Setzen(Modus::Input);
    txt_Eingabe->setFocus();
}

void Messages_frm1::Meldungsmodus(const QString& titel, const QString& text) {
    setWindowTitle(titel);
    lbl_Messages->setText(text);
    Modus_Setzen(Modus::Message);
    cmd_OK_2->setFocus();
}

void Messages_frm1::Fortschritt_Zeigen(const QString& titel) {
    setWindowTitle(titel);
    Modus_Setzen(Modus::Progress);
    Fenster_Oben(this);
    show();
    z.Fortschritt = this;
}

void Messages_frm1::Fortschritt_Setzen(const QString& text, int maximum, int wert) {
    lbl_Messages->setText(text);
    // A value outside the range is left out, as the bar itself does.
    pbr_Messages->setMaximum(maximum);
    pbr_Messages->setValue(wert);
}

void Messages_frm1::cmd_OK_Click() {
    try {
        const QString text = txt_Eingabe->text();
        z.Index_Eingabe = Index_Ordnername(z, text);
        txt_Eingabe->setText(z.Index_Eingabe.isEmpty() ? QString() : z.Index_Eingabe.mid(3));
        if (!Datei_Existiert(z.LibPath, z.Index_Eingabe + QStringLiteral("\\BOOKDATA.NET"))) {
            z.plattform.Meldung(LoadResString(2150) + z.LibPath + z.Index_Eingabe +
                                    LoadResString(2131),
                                z.Index_Eingabe, Symbol::Ausruf);
            z.Index_Eingabe.clear();
            txt_Eingabe->clear();
            txt_Eingabe->setFocus();
        }
        if (!txt_Eingabe->text().isEmpty())
            accept();
    } catch (const Fehler& f) {
        Fehler_Melden(z.plattform, QStringLiteral("cmd_OK"), LoadResString(410), f.Nummer());
    }
}

void Messages_frm1::cmd_Abbrechen_Click() {
    reject();
}

void Messages_frm1::cmd_OK_2_Click() {
    accept();
}

void Messages_frm1::done(int ergebnis) {
    m_entladen = true;
    Fortschritt_Abmelden();
    QDialog::done(ergebnis);
}

} // namespace qk
