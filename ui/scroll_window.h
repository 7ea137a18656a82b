#pragma once
// A window whose content scrolls once the screen is smaller than the content: at a scale
// factor of 2 a 1920x1080 screen has the room of a 960x540 one, less than a main window needs.
class QWidget;

namespace ui {

// Moves `window`'s layout, with its widgets, into a scroll area that fills the window, and
// gives the window, when first shown, the size its content asks for, as far as its screen
// has room.
void ScrollWhenSmall(QWidget* window);

}  // namespace ui
