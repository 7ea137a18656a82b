#include "colour_slot_button.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <QTest>

using controls::ColourSlotButton;
using controls::LighterBy30;

TEST(ColourSlotButton, StateColourFillsTheFaceSlotsAndLightensSlotZero) {
    const struct {
        QColor state, slot0;
    } cases[] = {
        {QColor(132, 202, 53), QColor(162, 232, 83)},    // configured
        {QColor(120, 123, 135), QColor(150, 153, 165)},  // unconfigured
        {QColor(240, 226, 255), QColor(255, 255, 255)},  // no channel past 255
    };
    for (const auto& c : cases) {
        ColourSlotButton b;
        b.PaintState(c.state);
        EXPECT_EQ(b.SlotColour(0), c.slot0);
        for (int slot : {2, 3, 4}) EXPECT_EQ(b.SlotColour(slot), c.state);
        EXPECT_EQ(LighterBy30(c.state), c.slot0);
    }
}

TEST(ColourSlotButton, FaceShowsTheStateColourAndClicksReachTheOwner) {
    ColourSlotButton b;
    b.resize(24, 24);
    b.PaintState(QColor(132, 202, 53));
    const QImage face = b.grab().toImage();
    EXPECT_EQ(QColor(face.pixel(12, 18)), QColor(132, 202, 53));
    b.PaintState(QColor(120, 123, 135));
    EXPECT_EQ(QColor(b.grab().toImage().pixel(12, 18)), QColor(120, 123, 135));
    QSignalSpy clicked(&b, &QAbstractButton::clicked);
    QTest::mouseClick(&b, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
}
