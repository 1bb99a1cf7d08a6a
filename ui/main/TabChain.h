// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// The window's one tab order across its panels: each control's place in it is the "tabIndex"
// property its form gives it (0 first); controls without one keep out of the chain. Returns the
// first control of the chain, or null when there is none.
QWidget* chainTabStops(QWidget* window);
