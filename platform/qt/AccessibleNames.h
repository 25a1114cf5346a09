#pragma once

class QWidget;

namespace bw::qt {

// Gives every control inside `window` that has no accessible name yet the name a screen
// reader should announce: the text of the label it is the buddy of, its own text, or its
// tool tip, without mnemonic ampersands, colons and ellipses. Run once the window is built;
// controls added later are named by running it again.
void giveAccessibleNames(QWidget& window);

// Whether the widget is a control a user operates (a button, a field, a box, a list).
bool isControl(const QWidget& widget);

} // namespace bw::qt
