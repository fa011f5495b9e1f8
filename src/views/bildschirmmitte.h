#pragma once

class QWidget;

namespace qk {

// Places the window in the middle of the screen it opens on (its parent's screen, or the
// primary one), as the program's dialogs are designed to open.
void Bildschirmmitte(QWidget* fenster);

} // namespace qk
