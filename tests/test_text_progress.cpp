#include <gtest/gtest.h>

#include <QImage>

#include "CTextProgressCtrl.h"

namespace {

const QColor kBar(200, 0, 0);
const QColor kBackground(255, 255, 255);

QImage Render(CTextProgressCtrl& bar) {
    QImage image(bar.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    bar.render(&image);
    return image;
}

struct Bar {
    Bar() {
        ctrl.resize(200, 24);
        ctrl.SetBarColor(kBar);
        ctrl.SetBkColor(kBackground);
    }
    CTextProgressCtrl ctrl;
};

int CountColour(const QImage& image, int left, int right, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = left; x < right; ++x) {
            count += image.pixelColor(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

TEST(TextProgressCtrl, FilledAndEmptyPartsWithTheTextInTheOtherColour) {
    Bar bar;
    bar.ctrl.SetPos(50);
    bar.ctrl.SetText("Загрузка программы в TQ-20 A0...");
    const QImage image = Render(bar.ctrl);
    EXPECT_EQ(image.pixelColor(1, 1), kBar);
    EXPECT_EQ(image.pixelColor(198, 1), kBackground);
    // The text is centred across both parts: background-coloured strokes over the bar,
    // bar-coloured strokes over the background.
    EXPECT_GT(CountColour(image, 0, 100, kBackground), 0);
    EXPECT_GT(CountColour(image, 100, 200, kBar), 0);
}

TEST(TextProgressCtrl, ShowsThePercentageWhenItHasNoText) {
    for (int position : {0, 50}) {
        Bar withPercent;
        withPercent.ctrl.SetPos(position);
        withPercent.ctrl.SetText("");
        Bar written;
        written.ctrl.SetPos(position);
        written.ctrl.SetText(QString("%1%").arg(position));
        EXPECT_EQ(Render(withPercent.ctrl), Render(written.ctrl)) << position;
    }
    Bar blank;
    blank.ctrl.SetText(" ");
    EXPECT_EQ(CountColour(Render(blank.ctrl), 0, 200, kBackground), 200 * 24)
        << "a blank text hides the percentage";
}

TEST(TextProgressCtrl, SteppingPastTheEndKeepsCounting) {
    Bar bar;
    EXPECT_EQ(bar.ctrl.SetStep(265), 1);
    bar.ctrl.SetRange(0, 795);
    bar.ctrl.SetShowText(false);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bar.ctrl.StepIt(), i * 265);
    }
    EXPECT_EQ(bar.ctrl.GetPos(), 1060);
    EXPECT_EQ(CountColour(Render(bar.ctrl), 0, 200, kBar), 200 * 24);
}

TEST(TextProgressCtrl, EmptyRangeDrawsNothing) {
    Bar bar;
    bar.ctrl.SetRange(5, 5);
    const QImage image = Render(bar.ctrl);
    EXPECT_EQ(CountColour(image, 0, 200, kBar) + CountColour(image, 0, 200, kBackground), 0);
}

}  // namespace
