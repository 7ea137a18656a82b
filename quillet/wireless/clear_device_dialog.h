#pragma once
// The question asked before a configured node is cleared from the gateway's table: "是"
// (1050) answers 1, "否" (1051) 0. Esc and the close button answer 0 too: the node is kept
// unless the user says "是".
#include <cstdint>

class QWidget;

namespace quillet {

class ClearDeviceDialog {
  public:
    explicit ClearDeviceDialog(QWidget* owner) : owner_(owner) {}

    // Asks, and returns the answer: 1 to clear, 0 to keep.
    std::uint8_t Exec();

  private:
    QWidget* owner_;
};

}  // namespace quillet
