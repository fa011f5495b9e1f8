#pragma once

#include <QRect>

class QWidget;

// Window layouts are drawn in twips (1440 to the inch) or in pixels at 96 dots per inch, for
// the small system font of the workstations. Qt's device-independent pixels already follow
// the screen's scale; on top of that the layout grows with the font, so that texts fit when
// the desktop font is larger than the one the windows were drawn for.
namespace qk {

// The factor by which the font of `fenster` is larger than the design font (at least 1).
double Schriftmaßstab(const QWidget* fenster);

// A rectangle given in design pixels, scaled by `maßstab`.
QRect Pixel_Rechteck(double maßstab, int links, int oben, int breite, int höhe);

// A rectangle given in twips, scaled by `maßstab`.
QRect Twips_Rechteck(double maßstab, int links, int oben, int breite, int höhe);

// A length in twips, scaled by `maßstab`.
int Pixel_Aus_Twips(double maßstab, double twips);

// Gives the dialog a fixed client area of the given twips, scaled by `maßstab`, and places it
// in the middle of the screen it will open on.
void Dialog_Einrichten(QWidget* dialog, double maßstab, int breite, int höhe);

} // namespace qk
