#pragma once
// The question asked before a configured node is cleared from the gateway's table: "是"
// answers 1, "否" 0. The answer starts at 0, so Esc or the close button also keep the node.
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
    std::uint8_t answer_ = 0;
};

}  // namespace quillet
