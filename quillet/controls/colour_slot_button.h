#pragma once
// A push button whose face is painted from six colour slots instead of the style:
//   0 highlight (top of the face), 1 border, 2 face, 3 face under the mouse,
//   4 face while pressed, 5 text.
// The wireless grid paints 200 of them green or grey by node state.
#include <QAbstractButton>
#include <QColor>
#include <array>

namespace controls {

class ColourSlotButton : public QAbstractButton {
    Q_OBJECT
  public:
    static constexpr int kSlots = 6;

    explicit ColourSlotButton(QWidget* parent = nullptr);

    QColor SlotColour(int slot) const { return slots_.at(static_cast<std::size_t>(slot)); }
    // Paints the face in a state colour: slots 2, 3 and 4 take it, slot 0 becomes it
    // lightened by 30 on each channel (no channel past 255). Repaints.
    void PaintState(const QColor& colour);

    QSize sizeHint() const override { return {22, 22}; }
    QSize minimumSizeHint() const override { return {16, 16}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    std::array<QColor, kSlots> slots_;
    bool hovered_ = false;
};

// The slot-0 shade of a state colour.
QColor LighterBy30(const QColor& colour);

}  // namespace controls
