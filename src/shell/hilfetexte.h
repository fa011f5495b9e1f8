#pragma once

#include <QList>
#include <QString>

// The topics of the program's help, one for each menu and menu item, in menu order.
namespace qk {

struct Hilfethema {
    QString name;      // objectName of the menu or menu item the topic belongs to
    QString menü;      // objectName of the menu it stands in; empty for a menu of the menu bar
    int kontext = 0;   // help context number of the item; 0 for items that have none
    int titeltext = 0; // text number of the item's caption, which names the topic
    QString inhalt;    // HTML body below the title
};

// Every topic; the first one is the contents page.
const QList<Hilfethema>& Hilfethemen();

// The topic's title: the item's caption without its access-key mark.
QString Hilfethema_Titel(const Hilfethema& thema);

// The topic for a help context number, else for a menu item's name; null when neither is known.
const Hilfethema* Hilfethema_Suchen(int kontext, const QString& name = {});

} // namespace qk
