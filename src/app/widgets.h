#pragma once
// Small pieces the window's panels share.
#include <QPushButton>
#include <QString>

namespace vnx::app {

// A push button with its object name, by which help pages and tests find it.
QPushButton* NamedButton(const char* name, const QString& caption);

// Lets the window repaint for `ms` milliseconds without taking user input (a gauge that has
// reached 100 stays visible for a moment). Nothing happens when `enabled` is false, as in tests.
void Pause(bool enabled, int ms);

}  // namespace vnx::app
