#include "platform/fenster.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qk {

void Fenster_Oben(QWidget* fenster) {
    if (fenster == nullptr)
        return;
    const bool sichtbar = fenster->isVisible();
    fenster->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // Changing a window flag hides the window; bring it back as it was.
    if (sichtbar)
        fenster->show();
}

} // namespace qk

namespace qk {

void Bildschirmmitte(QWidget* fenster) {
    const QWidget* eltern = fenster->parentWidget();
    const QScreen* schirm = eltern != nullptr ? eltern->screen() : fenster->screen();
    if (schirm == nullptr)
        schirm = QGuiApplication::primaryScreen();
    if (schirm == nullptr)
        return;
    const QRect frei = schirm->availableGeometry();
    fenster->move(frei.center() - QPoint(fenster->width() / 2, fenster->height() / 2));
}

} // namespace qk
