#include "shell/hilfe_frm1.h"

#include "shell/hilfetexte.h"
#include "shell/masse.h"
#include "shell/texte.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>

namespace qk {
namespace {

constexpr int NAME_ROLLE = Qt::UserRole;
const QString LINK_SCHEMA = QStringLiteral("thema");

} // namespace

Hilfe_frm1::Hilfe_frm1(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Hilfe_frm1"));
    setWindowTitle(QStringLiteral("Admin-Quorvik - ") +
                   LoadResString(171).remove(QLatin1Char('&')));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(false);

    lst_Themen = new QTreeWidget(this);
    lst_Themen->setObjectName(QStringLiteral("lst_Themen"));
    lst_Themen->setHeaderHidden(true);
    lst_Themen->setColumnCount(1);

    txt_Hilfe = new QTextBrowser(this);
    txt_Hilfe->setObjectName(QStringLiteral("txt_Hilfe"));
    txt_Hilfe->setOpenLinks(false);

    auto* teiler = new QSplitter(this);
    teiler->addWidget(lst_Themen);
    teiler->addWidget(txt_Hilfe);
    teiler->setStretchFactor(1, 1);
    auto* rahmen = new QHBoxLayout(this);
    rahmen->addWidget(teiler);

    // The contents first, then the menus in menu-bar order with their items below them.
    QList<QTreeWidgetItem*> menüs;
    for (const Hilfethema& t : Hilfethemen()) {
        auto* eintrag = new QTreeWidgetItem(QStringList(Hilfethema_Titel(t)));
        eintrag->setData(0, NAME_ROLLE, t.name);
        QTreeWidgetItem* oben = nullptr;
        for (QTreeWidgetItem* m : menüs) {
            if (m->data(0, NAME_ROLLE).toString() == t.menü)
                oben = m;
        }
        if (oben == nullptr || menüs.isEmpty()) {
            lst_Themen->addTopLevelItem(eintrag);
            menüs.append(eintrag);
        } else {
            oben->addChild(eintrag);
        }
    }
    lst_Themen->expandAll();

    connect(lst_Themen, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* eintrag) { Thema_Anzeigen(eintrag); });
    connect(txt_Hilfe, &QTextBrowser::anchorClicked, this, [this](const QUrl& ziel) {
        if (ziel.scheme() == LINK_SCHEMA)
            Thema_Zeigen(0, ziel.path());
    });

    const double m = Schriftmaßstab(this);
    resize(Pixel_Rechteck(m, 0, 0, 720, 460).size());
    teiler->setSizes(
        {Pixel_Rechteck(m, 0, 0, 230, 0).width(), Pixel_Rechteck(m, 0, 0, 490, 0).width()});
    Thema_Zeigen(0);
}

void Hilfe_frm1::Thema_Zeigen(int kontext, const QString& name) {
    const Hilfethema* thema = Hilfethema_Suchen(kontext, name);
    const QString gesucht = thema != nullptr ? thema->name : Hilfethemen().first().name;
    for (QTreeWidgetItemIterator it(lst_Themen); *it != nullptr; ++it) {
        if ((*it)->data(0, NAME_ROLLE).toString() == gesucht) {
            lst_Themen->setCurrentItem(*it);
            Thema_Anzeigen(*it);
            return;
        }
    }
}

QString Hilfe_frm1::Aktuelles_Thema() const {
    const QTreeWidgetItem* eintrag = lst_Themen->currentItem();
    return eintrag != nullptr ? eintrag->data(0, NAME_ROLLE).toString() : QString();
}

void Hilfe_frm1::Thema_Anzeigen(QTreeWidgetItem* eintrag) {
    if (eintrag == nullptr)
        return;
    const Hilfethema* thema = Hilfethema_Suchen(0, eintrag->data(0, NAME_ROLLE).toString());
    if (thema == nullptr)
        return;
    txt_Hilfe->setHtml(QStringLiteral("<h2>") + Hilfethema_Titel(*thema).toHtmlEscaped() +
                       QStringLiteral("</h2>") + thema->inhalt);
}

} // namespace qk
