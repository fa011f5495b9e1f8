#include "shell/masse.h"

#include "platform/fenster.h"

#include <QFontMetricsF>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace qk {
namespace {

// Line height of the font the windows were drawn for (8 points at 96 dots per inch).
constexpr double ENTWURF_ZEILENHÖHE = 13.0;
constexpr double TWIPS_JE_PIXEL = 15.0;

int Runden(double wert) {
    return static_cast<int>(std::lround(wert));
}

} // namespace

double Schriftmaßstab(const QWidget* fenster) {
    const double höhe = QFontMetricsF(fenster->font()).height();
    return std::max(1.0, höhe / ENTWURF_ZEILENHÖHE);
}

QRect Pixel_Rechteck(double maßstab, int links, int oben, int breite, int höhe) {
    return QRect(Runden(links * maßstab), Runden(oben * maßstab), Runden(breite * maßstab),
                 Runden(höhe * maßstab));
}

int Pixel_Aus_Twips(double maßstab, double twips) {
    return Runden(twips / TWIPS_JE_PIXEL * maßstab);
}

QRect Twips_Rechteck(double maßstab, int links, int oben, int breite, int höhe) {
    return QRect(Pixel_Aus_Twips(maßstab, links), Pixel_Aus_Twips(maßstab, oben),
                 Pixel_Aus_Twips(maßstab, breite), Pixel_Aus_Twips(maßstab, höhe));
}

void Dialog_Einrichten(QWidget* dialog, double maßstab, int breite, int höhe) {
    dialog->setFixedSize(Pixel_Aus_Twips(maßstab, breite), Pixel_Aus_Twips(maßstab, höhe));
    dialog->setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    Bildschirmmitte(dialog);
}

} // namespace qk
