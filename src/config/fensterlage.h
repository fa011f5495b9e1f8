#pragma once

#include <QRect>

class QWidget;

// The configuration dialogs are laid out in twips, 15 to the pixel at 96 dots per inch.
namespace qk {

constexpr int TWIPS_JE_PIXEL = 15;

constexpr QRect Twips(int links, int oben, int breite, int höhe) {
    return QRect(links / TWIPS_JE_PIXEL, oben / TWIPS_JE_PIXEL, breite / TWIPS_JE_PIXEL,
                 höhe / TWIPS_JE_PIXEL);
}

// Gives the dialog a fixed client area of the given twips and places it in the middle of the
// screen it will open on.
void Dialog_Einrichten(QWidget* dialog, int breite, int höhe);

} // namespace qk
