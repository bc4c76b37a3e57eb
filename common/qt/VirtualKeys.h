#pragma once
// Qt key events in the grid's terms: the platform's virtual key numbers and
// the Shift/Ctrl/Alt bits that KeyDown and MouseUp carry.

#include <Qt>

namespace rillo {

/// The virtual key number of a Qt key (letters and digits as their upper-case
/// character codes, Tab 9, Enter 13, arrows 37-40, Delete 46, ...); 0 for a
/// key that has none.
int virtualKey(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

/// The grid's shift state: 1 Shift, 2 Ctrl, 4 Alt.
int shiftState(Qt::KeyboardModifiers modifiers);

/// The grid's mouse button number: 1 left, 2 right, 4 middle; 0 for others.
int mouseButton(Qt::MouseButton button);

}  // namespace rillo
