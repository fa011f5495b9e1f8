#include "views/log_frm1.h"

#include "platform/dateien.h"
#include "platform/fehler.h"
#include "platform/fenster.h"
#include "shell/fehlerbericht.h"
#include "shell/texte.h"
#include "views/textanzeige.h"

#include <QFontDatabase>
#include <QVBoxLayout>

namespace qk {
namespace {

const QString LOGDATEI = QStringLiteral("BOOKDATA.LOG");

} // namespace

Log_frm1::Log_frm1(Zustand& z, QWidget* parent)
    : QDialog(parent), m_z(z), txt_Log(new Textanzeige(this)) {
    setObjectName(QStringLiteral("Log_frm1"));
    setWindowTitle(LOGDATEI);
    setModal(true);
    txt_Log->setObjectName(QStringLiteral("txt_Log"));
    txt_Log->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 7);
    layout->addWidget(txt_Log);
    resize(537, 328);
    Bildschirmmitte(this);
    connect(txt_Log, &Textanzeige::kopieren, this, &Log_frm1::Auswahl_Kopieren);
    Form_Load();
}

void Log_frm1::Form_Load() {
    // Without a Library there is no log to show; a relative name would find some other file.
    if (m_z.LibPath.isEmpty())
        return;
    const QString pfad = m_z.LibPath + LOGDATEI;
    if (!datei::Existiert(pfad))
        return;
    try {
        txt_Log->Inhalt_Setzen(datei::Lesen(pfad));
    } catch (const Fehler& f) {
        Fehler_Melden(m_z.plattform, QStringLiteral("Form_Load"),
                      LoadResString(2102) + m_z.LibPath + LoadResString(2103), f.Nummer(),
                      LABEL_NR);
    }
}

void Log_frm1::Auswahl_Kopieren(const QString& text) {
    try {
        m_z.plattform.Zwischenablage_Setzen(text);
    } catch (const Fehler& f) {
        Fehler_Melden(m_z.plattform, QStringLiteral("txt_Log_Kopieren"), LoadResString(2220),
                      f.Nummer());
    }
}

} // namespace qk
