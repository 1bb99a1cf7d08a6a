#pragma once

class QWidget;

// Access keys on the main window's menus, buttons and options, each an "&" before a letter
// the caption already has, so no caption changes its words; labels lead to their fields; the
// two picture-only buttons get tooltips.
void addKeyboardHints(QWidget* window);
