#pragma once

#include "shell/zustand.h"

#include <QList>
#include <QString>

namespace qk {

// The user map as tab-separated text: a heading line, then one line per record in list
// order (records marked removed but not yet saved included) with User-ID, user name, PC name
// and local directory; every line ends with CR LF.
QString Idmap_Bericht(const QList<IdmapEintrag>& liste);

// Clipboard: puts the report of IdmapListe on the clipboard.
void mnu_Zwischenablage_Click(Zustand& z);

} // namespace qk
