#pragma once
// Return in a field belongs to the field. Qt makes every push button of a dialog an
// auto-default button, so Return in a line edit would press one of them: in Pelmarq the
// scan, which re-probes the line and overwrites the address that was being typed. Message
// boxes keep Return for their default button; they have no field.
class QWidget;

namespace ui {

// Takes the default role from every push button inside `window`; call it once the window's
// controls are built.
void KeepReturnInFields(QWidget* window);

}  // namespace ui
