#include "config/fensterlage.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qk {

void Dialog_Einrichten(QWidget* dialog, int breite, int höhe) {
    dialog->setFixedSize(breite / TWIPS_JE_PIXEL, höhe / TWIPS_JE_PIXEL);
    dialog->setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    const QWidget* eltern = dialog->parentWidget();
    QScreen* schirm = eltern != nullptr ? eltern->screen() : QGuiApplication::primaryScreen();
    if (schirm == nullptr)
        return;
    const QRect fläche = schirm->availableGeometry();
    dialog->move(fläche.center() - dialog->rect().center());
}

} // namespace qk
