#include "config/local_frm1.h"

#include "config/local_net.h"
#include "platform/fehler.h"
#include "shell/fehlerbericht.h"
#include "shell/masse.h"
#include "shell/texte.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qk {
namespace {

QLineEdit* Textfeld(QWidget* eltern, const char* name, const QRect& lage) {
    auto* feld = new QLineEdit(eltern);
    feld->setObjectName(QLatin1String(name));
    feld->setGeometry(lage);
    return feld;
}

QLabel* Beschriftung(QWidget* eltern, const char* name, const QRect& lage, QLineEdit* feld) {
    auto* label = new QLabel(eltern);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(lage);
    label->setBuddy(feld);
    return label;
}

} // namespace

Local_frm1::Local_frm1(Zustand& z, QWidget* parent) : QDialog(parent), m_z(z) {
    setObjectName(QStringLiteral("Local_frm1"));
    setWindowTitle(QStringLiteral("QK_LOCAL.NET"));
    const double m = Schriftmaßstab(this);

    // Fields before their labels, so that the tab order runs down the fields.
    m_txt_UserNumber = Textfeld(this, "txt_UserNumber", Twips_Rechteck(m, 1920, 240, 1335, 285));
    m_txt_DirPath = Textfeld(this, "txt_DirPath", Twips_Rechteck(m, 1920, 720, 3375, 285));
    m_txt_ProgPath = Textfeld(this, "txt_ProgPath", Twips_Rechteck(m, 1920, 1200, 3375, 285));
    m_Label1 =
        Beschriftung(this, "Label1", Twips_Rechteck(m, 120, 270, 1455, 255), m_txt_UserNumber);
    m_Label2 = Beschriftung(this, "Label2", Twips_Rechteck(m, 120, 750, 1575, 255), m_txt_DirPath);
    m_Label4 =
        Beschriftung(this, "Label4", Twips_Rechteck(m, 120, 1230, 1695, 255), m_txt_ProgPath);

    m_cmd_OK = new QPushButton(this);
    m_cmd_OK->setObjectName(QStringLiteral("cmd_OK"));
    m_cmd_OK->setGeometry(Twips_Rechteck(m, 1320, 1920, 1335, 375));
    m_cmd_OK->setDefault(true);

    m_cmd_Abbrechen = new QPushButton(this);
    m_cmd_Abbrechen->setObjectName(QStringLiteral("cmd_Abbrechen"));
    m_cmd_Abbrechen->setGeometry(Twips_Rechteck(m, 2760, 1920, 1335, 375));

    Dialog_Einrichten(this, m, 5430, 2430);

    connect(m_cmd_OK, &QPushButton::clicked, this, [this] { cmd_OK_Click(); });
    connect(m_cmd_Abbrechen, &QPushButton::clicked, this, [this] { cmd_Abbrechen_Click(); });

    Form_Load();
}

void Local_frm1::Form_Load() {
    m_Label1->setText(LoadResString(3301));
    m_Label2->setText(LoadResString(200));
    m_Label4->setText(LoadResString(3300));
    m_cmd_OK->setText(LoadResString(400));
    m_cmd_Abbrechen->setText(LoadResString(401));
}

QString Local_frm1::Speichern() {
    try {
        return m_z.plattform.Speichern_Dialog(QStringLiteral("QK_LOCAL.NET (*.net)"));
    } catch (const Fehler& f) {
        if (f.Nummer() != FEHLER_ABBRUCH)
            m_z.plattform.Meldung(QStringLiteral("Fehler beim Öffnen der Datei.") + CRLF +
                                      LABEL_ERRORNR + QString::number(f.Nummer()),
                                  QStringLiteral("Speichern_Err"), Symbol::Ausruf, Knöpfe::OK);
        return {};
    }
}

bool Local_frm1::Local_Schreiben(const QString& dateiname) {
    try {
        // The input was checked before the save dialog: the number fits 1 to 254.
        const auto nummer = static_cast<quint8>(UserNummer_Lesen(m_txt_UserNumber->text()));
        qk::Local_Schreiben(dateiname, nummer, m_txt_DirPath->text(), m_txt_ProgPath->text());
        return true;
    } catch (const Fehler& f) {
        Fehler_Melden(m_z.plattform, QStringLiteral("Local_Schreiben"),
                      LoadResString(2120) + dateiname + QStringLiteral("''"), f.Nummer());
        return false;
    }
}

void Local_frm1::cmd_OK_Click() {
    const QString nummer = m_txt_UserNumber->text();
    const QString dirPath = m_txt_DirPath->text();
    const QString progPath = m_txt_ProgPath->text();
    if (nummer.isEmpty() || dirPath.isEmpty() || progPath.isEmpty()) {
        m_z.plattform.Meldung(LoadResString(3302), LoadResString(2071), Symbol::Information,
                              Knöpfe::OK);
        return;
    }
    // A number that does not fit a User-ID, or a path the fixed field would cut, would give
    // the workstation a file that names someone else or a folder that does not exist.
    const QString grund = Local_Eingabe_Prüfen(nummer, dirPath, progPath);
    if (!grund.isEmpty()) {
        m_z.plattform.Meldung(grund, LoadResString(2071), Symbol::Ausruf, Knöpfe::OK);
        return;
    }
    const QString dateiname = Speichern();
    if (dateiname.isEmpty()) {
        reject();
        return;
    }
    // A failed write keeps the dialog open, so the input is not lost and another place can
    // be chosen.
    if (Local_Schreiben(dateiname))
        accept();
}

void Local_frm1::cmd_Abbrechen_Click() {
    reject();
}

void Local_Zeigen(Zustand& z, QWidget* parent) {
    Local_frm1 dialog(z, parent);
    dialog.exec();
}

} // namespace qk
