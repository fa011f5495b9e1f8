#include "views/bookdata_frm1.h"

#include "platform/fehler.h"
#include "platform/fenster.h"
#include "shell/fehlerbericht.h"
#include "shell/texte.h"
#include "views/bookdata_modell.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeView>

namespace qk {
namespace {

const QString ENTRIES = QStringLiteral("Entries: ");
const QChar TAB = QLatin1Char('\t');

// The clipboard text: a heading line with the caption, then one tab-separated line per entry
// of the list, every entry, each line ended by CR LF.
QString Zwischenablage_Text(const QString& titel, const std::vector<BookdataEintrag>& liste) {
    QString text;
    text.reserve(static_cast<qsizetype>(liste.size()) * 24 + titel.size() + 16);
    text += QStringLiteral("***** ") + titel + QStringLiteral(" *****") + CRLF;
    for (const BookdataEintrag& e : liste) {
        text += e.Index;
        text += TAB;
        text += QString::number(e.BoxNr);
        text += TAB;
        text += QString::number(e.UserID);
        text += TAB;
        text += QString::number(e.RevNr);
        text += CRLF;
    }
    return text;
}

template <typename W> W* Kind(QWidget* eltern, const char* name, QRect lage) {
    auto* w = new W(eltern);
    w->setObjectName(QLatin1String(name));
    w->setGeometry(lage);
    return w;
}

} // namespace

Bookdata_frm1::Bookdata_frm1(Zustand& z, QWidget* parent)
    : QDialog(parent), m_z(z),
      lstv_Bookdata(Kind<QTreeView>(this, "lstv_Bookdata", {8, 16, 361, 241})),
      cmd_Beenden(Kind<QPushButton>(this, "cmd_Beenden", {392, 16, 97, 25})),
      cmd_Zwischenablage(Kind<QPushButton>(this, "cmd_Zwischenablage", {392, 53, 97, 25})),
      lbl_Entries(Kind<QLabel>(this, "lbl_Entries", {384, 243, 112, 17})),
      lbl_Info(Kind<QLabel>(this, "lbl_Info", {10, 264, 353, 17})),
      // Diagnostic fields: filled, never shown.
      Label1(Kind<QLabel>(this, "Label1", {0, 300, 200, 17})),
      Label2(Kind<QLabel>(this, "Label2", {0, 320, 200, 17})),
      Text1(Kind<QLineEdit>(this, "Text1", {0, 340, 60, 20})),
      Text2(Kind<QLineEdit>(this, "Text2", {70, 340, 60, 20})),
      Text3(Kind<QLineEdit>(this, "Text3", {140, 340, 60, 20})) {
    setObjectName(QStringLiteral("Bookdata_frm1"));
    setModal(true);
    setFixedSize(500, 285);
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label2, Text1, Text2, Text3}) {
        w->setFocusPolicy(Qt::NoFocus);
        w->hide();
    }

    lstv_Bookdata->setRootIsDecorated(false);
    lstv_Bookdata->setItemsExpandable(false);
    lstv_Bookdata->setUniformRowHeights(true); // keeps long lists quick to lay out
    lstv_Bookdata->setAllColumnsShowFocus(true);
    lstv_Bookdata->setSortingEnabled(false);
    lstv_Bookdata->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstv_Bookdata->setSelectionMode(QAbstractItemView::SingleSelection);
    lstv_Bookdata->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lstv_Bookdata->header()->setStretchLastSection(false);
    lstv_Bookdata->header()->setSectionsClickable(false);
    lstv_Bookdata->header()->setSectionsMovable(false);
    lstv_Bookdata->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    cmd_Beenden->setDefault(true);
    lbl_Entries->setText(ENTRIES);
    setTabOrder(cmd_Beenden, lstv_Bookdata);
    setTabOrder(lstv_Bookdata, cmd_Zwischenablage);
    cmd_Beenden->setFocus();

    connect(cmd_Beenden, &QPushButton::clicked, this, &Bookdata_frm1::cmd_Beenden_Click);
    connect(cmd_Zwischenablage, &QPushButton::clicked, this,
            &Bookdata_frm1::cmd_Zwischenablage_Click);
    Bildschirmmitte(this);
    Form_Load();
}

void Bookdata_frm1::Form_Load() {
    try {
        cmd_Beenden->setText(LoadResString(300));
        cmd_Zwischenablage->setText(LoadResString(162));
        m_modell = new BookdataModell(
            m_z.BookdataListe,
            {LoadResString(310), LoadResString(311), LoadResString(312), LoadResString(313)}, this);
        lstv_Bookdata->setModel(m_modell);
        const int breite = lstv_Bookdata->width();
        QHeaderView* kopf = lstv_Bookdata->header();
        kopf->resizeSection(0, breite / 4);
        kopf->resizeSection(1, breite / 5);
        kopf->resizeSection(2, breite / 5);
        kopf->resizeSection(3, breite / 4);
        lbl_Info->setText(QString());
        Text1->setText(QString::number(m_z.UserNr));
        Text2->setText(QString::number(m_z.Anzahl_Ordner));
        Text3->setText(QString::number(m_z.Ordner_Nr));
        Label1->setText(QStringLiteral("Anzahl_Buchungen ") +
                        QString::number(m_z.Anzahl_Buchungen));
        Label2->setText(QStringLiteral("UBound(BookdataListe) ") +
                        QString::number(static_cast<qsizetype>(m_z.BookdataListe.size()) - 1));
    } catch (const Fehler& f) {
        Fehler_Melden(m_z.plattform, QStringLiteral("Form_Load"), LoadResString(2000), f.Nummer());
    }
}

void Bookdata_frm1::Buchungsinfo_Setzen(const QString& info, const QString& label1,
                                        const QString& label2) {
    lbl_Info->setText(info);
    Label1->setText(label1);
    Label2->setText(label2);
}

void Bookdata_frm1::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // Uncovering or restoring the window shows the same rows; only a show by the program
    // lists the bookings again.
    if (!e->spontaneous())
        BookdataListe_In_Liste_Übertragen();
}

void Bookdata_frm1::BookdataListe_In_Liste_Übertragen() {
    if (m_modell == nullptr)
        return;
    // The model reads the entries as they are painted, so the fill takes no time whatever the
    // length, and it never yields to the event loop, so no repaint can start a second fill.
    try {
        if (m_z.Anzahl_Einträge < 1) {
            m_modell->Zeilen_Setzen(0);
            lbl_Entries->setText(ENTRIES);
            return;
        }
        m_modell->Zeilen_Setzen(static_cast<qsizetype>(m_z.BookdataListe.size()));
        lbl_Entries->setText(QString::number(m_modell->rowCount()) + LoadResString(301));
    } catch (const Fehler& f) {
        Fehler_Melden(m_z.plattform, QStringLiteral("BookdataListe_In_Liste_Übertragen"),
                      QStringLiteral("BookdataListe_In_Liste_Übertragen_Err"), f.Nummer());
    }
}

void Bookdata_frm1::cmd_Zwischenablage_Click() {
    try {
        m_z.plattform.Zwischenablage_Setzen(Zwischenablage_Text(windowTitle(), m_z.BookdataListe));
    } catch (const Fehler& f) {
        Fehler_Melden(m_z.plattform, QStringLiteral("cmd_Zwischenablage"), LoadResString(2221),
                      f.Nummer());
    }
}

void Bookdata_frm1::cmd_Beenden_Click() {
    accept();
}

Buchungsinfo_Verbindung::Buchungsinfo_Verbindung(Zustand& z, Bookdata_frm1& fenster)
    : m_z(z), m_vorher(std::move(z.Buchungsinfo_Setzen)) {
    m_z.Buchungsinfo_Setzen = [&fenster](const QString& info, const QString& label1,
                                         const QString& label2) {
        fenster.Buchungsinfo_Setzen(info, label1, label2);
    };
}

Buchungsinfo_Verbindung::~Buchungsinfo_Verbindung() {
    m_z.Buchungsinfo_Setzen = std::move(m_vorher);
}

} // namespace qk
