#include "views/bildschirmmitte.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qk {

void Bildschirmmitte(QWidget* fenster) {
    const QWidget* eltern = fenster->parentWidget();
    const QScreen* schirm = eltern != nullptr ? eltern->screen() : QGuiApplication::primaryScreen();
    if (schirm == nullptr)
        return;
    const QRect frei = schirm->availableGeometry();
    fenster->move(frei.center() - QPoint(fenster->width() / 2, fenster->height() / 2));
}

} // namespace qk
