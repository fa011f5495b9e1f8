#include "config/fensterlage.h"

#include "platform/fenster.h"

#include <QWidget>

namespace qk {

void Dialog_Einrichten(QWidget* dialog, int breite, int höhe) {
    dialog->setFixedSize(breite / TWIPS_JE_PIXEL, höhe / TWIPS_JE_PIXEL);
    dialog->setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    Bildschirmmitte(dialog);
}

} // namespace qk
