#pragma once

class QWidget;

namespace qk {

// Keeps the window above all other windows, without moving or resizing it.
void Fenster_Oben(QWidget* fenster);

} // namespace qk
