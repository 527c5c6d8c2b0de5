#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

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

struct PercentCase {
    int position;
    const char* text;
    const char* shown;
};

// The status text is followed by the whole percent done; a blank text (the bar's text between
// loads) and no text at all are drawn as before.
TEST(TextProgressCtrl, ThePercentageFollowsTheText) {
    const PercentCase cases[] = {
        {0, "Загрузка программы в TQ-20 A0...", "Загрузка программы в TQ-20 A0... — 0 %"},
        {500, "Загрузка шрифта в ...", "Загрузка шрифта в ... — 50 %"},
        {999, "Loading the font into TQ-20 A0...", "Loading the font into TQ-20 A0... — 99 %"},
        {1000, "Loading the font into TQ-20 A0...", "Loading the font into TQ-20 A0... — 100 %"},
        {500, " ", " "},
        {500, "", "50%"},
    };
    for (const PercentCase& c : cases) {
        Bar withPercent;
        withPercent.ctrl.resize(400, 24);
        withPercent.ctrl.SetRange(0, 1000);
        withPercent.ctrl.SetPercentAfterText(true);
        withPercent.ctrl.SetText(c.text);
        withPercent.ctrl.SetPos(c.position);
        EXPECT_EQ(withPercent.ctrl.ShownText(), QString(c.shown)) << c.position << " " << c.text;
        Bar written;
        written.ctrl.resize(400, 24);
        written.ctrl.SetRange(0, 1000);
        written.ctrl.SetText(c.shown);
        written.ctrl.SetPos(c.position);
        EXPECT_EQ(Render(withPercent.ctrl), Render(written.ctrl)) << c.shown;
    }
    // Counted in whole numbers: exactly 57 % of 79 200 is not shown as 56 %.
    Bar exact;
    exact.ctrl.SetRange(0, 79200);
    exact.ctrl.SetPercentAfterText(true);
    exact.ctrl.SetText("Загрузка");
    exact.ctrl.SetPos(45144);
    EXPECT_EQ(exact.ctrl.ShownText(), QString("Загрузка — 57 %"));
}

// A bar held narrower than its text, as on a small screen, keeps the percentage whole and the
// ends of the status text, and asks for no more than its limit.
TEST(TextProgressCtrl, ABarNarrowerThanItsTextElidesTheMiddle) {
    Bar bar;
    bar.ctrl.SetPercentAfterText(true);
    bar.ctrl.SetText("Загрузка программы в TQ-20 A0...");
    bar.ctrl.SetPos(50);
    bar.ctrl.SetWidthLimit(150);
    bar.ctrl.resize(bar.ctrl.minimumSizeHint());
    EXPECT_EQ(bar.ctrl.width(), 150);
    const QString drawn = bar.ctrl.DrawnText();
    EXPECT_TRUE(drawn.startsWith("Загр")) << drawn.toStdString();
    EXPECT_TRUE(drawn.endsWith("A0... — 50 %")) << drawn.toStdString();
    EXPECT_TRUE(drawn.contains(QChar(0x2026))) << drawn.toStdString();
    EXPECT_LE(bar.ctrl.fontMetrics().horizontalAdvance(drawn), bar.ctrl.width());
    bar.ctrl.SetWidthLimit(QWIDGETSIZE_MAX);
    bar.ctrl.resize(bar.ctrl.minimumSizeHint());
    EXPECT_EQ(bar.ctrl.DrawnText(), bar.ctrl.ShownText()) << "as wide as its text asks";
}

// Records the text at every paint.
class PaintWatch final : public QObject {
public:
    explicit PaintWatch(CTextProgressCtrl* bar) { bar->installEventFilter(this); }
    QStringList shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            shown << static_cast<CTextProgressCtrl*>(watched)->ShownText();
        }
        return false;
    }
};

// On a bar narrower than a hundred pixels the percentage moves on before the filled part grows
// by a pixel: it is drawn at once all the same.
TEST(TextProgressCtrl, ANarrowBarDrawsEveryPercent) {
    CTextProgressCtrl bar;
    bar.resize(40, 24);
    bar.SetPercentAfterText(true);
    bar.SetText("Загрузка");
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    PaintWatch watch(&bar);
    for (int position = 1; position <= 3; ++position) {
        bar.SetPos(position);
    }
    EXPECT_EQ(watch.shown, (QStringList{"Загрузка — 1 %", "Загрузка — 2 %", "Загрузка — 3 %"}));
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
