#pragma once
// The piston animation beside the first screen's buttons: "piston.gif" of the program folder
// (pack first, then disc) playing at (583, 470).
class QLabel;
class QWidget;

// Null when the disc has no piston.
QLabel* MakePiston(QWidget* window);
