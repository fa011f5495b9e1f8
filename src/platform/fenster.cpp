#include "platform/fenster.h"

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
