#include "colour_slot_button.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

namespace controls {

QColor LighterBy30(const QColor& c) {
    return QColor(std::min(c.red() + 30, 255), std::min(c.green() + 30, 255),
                  std::min(c.blue() + 30, 255));
}

ColourSlotButton::ColourSlotButton(QWidget* parent) : QAbstractButton(parent) {
    const QColor face = palette().color(QPalette::Button);
    slots_ = {LighterBy30(face),
              face.darker(160),
              face,
              face,
              face,
              palette().color(QPalette::ButtonText)};
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover, true);
}

void ColourSlotButton::PaintState(const QColor& colour) {
    slots_[0] = LighterBy30(colour);
    slots_[2] = colour;
    slots_[3] = colour;
    slots_[4] = colour;
    update();
}

void ColourSlotButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ColourSlotButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void ColourSlotButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QColor face = isDown() ? slots_[4].darker(115) : hovered_ ? slots_[3] : slots_[2];
    QLinearGradient gradient(r.topLeft(), r.bottomLeft());
    gradient.setColorAt(0, isDown() ? face : slots_[0]);
    gradient.setColorAt(0.5, face);
    gradient.setColorAt(1, face);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(gradient);
    // A quiet hover: the border darkens a little more; focus shows as a thicker border.
    QPen border(hovered_ ? slots_[1].darker(130) : slots_[1], hasFocus() ? 2.0 : 1.0);
    p.setPen(border);
    p.drawRoundedRect(r, 3, 3);
    if (!text().isEmpty()) {
        p.setPen(isEnabled() ? slots_[5]
                             : palette().color(QPalette::Disabled, QPalette::ButtonText));
        p.drawText(rect(), Qt::AlignCenter, text());
    }
}

}  // namespace controls
