#pragma once

class QWidget;

namespace qk {

// Keeps the window above all other windows, without moving or resizing it.
void Fenster_Oben(QWidget* fenster);

} // namespace qk

namespace qk {

// Places the window in the middle of the screen it opens on (its parent's screen, or the
// primary one), as the program's windows are designed to open.
void Bildschirmmitte(QWidget* fenster);

} // namespace qk
