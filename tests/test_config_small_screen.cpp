// The main window on a 1024x768 screen at scale 2 (the run sets QT_SCALE_FACTOR): the pages are
// larger than the screen, so they scroll, and every button stays on the screen; the receipt
// preview gives way to them.
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTreeWidgetItemIterator>

#include "CReceiptPreview.h"

#include "ConfigWindowFixture.h"

namespace {

class ConfigSmallScreenTest : public ConfigWindowTest {
protected:
    void ExpectOnScreen(QWidget* widget, const QString& where) {
        const QRect screen = window->screen()->availableGeometry();
        const QRect shown(widget->mapToGlobal(QPoint(0, 0)), widget->size());
        EXPECT_TRUE(screen.contains(shown))
            << where.toStdString() << ": " << widget->objectName().toStdString() << " at "
            << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height()
            << " is off the screen " << screen.width() << "x" << screen.height();
    }
};

TEST_F(ConfigSmallScreenTest, EveryPageScrollsAndTheButtonsStayOnTheScreen) {
    ASSERT_GE(window->devicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";
    window->move(window->screen()->availableGeometry().topLeft());
    const QSize screen = window->screen()->availableGeometry().size();
    EXPECT_LE(window->minimumSize().width(), screen.width());
    EXPECT_LE(window->minimumSize().height(), screen.height());
    EXPECT_TRUE(window->Preview()->isHidden()) << "the pages come before the preview";
    ASSERT_TRUE(Connect());
    auto* tree = Find<QTreeWidget>(window.get(), "pageTree");
    tree->expandAll();
    auto* scroll = Find<QScrollArea>(window.get(), "pageScroll");
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
        tree->setCurrentItem(*it);
        QTest::qWait(50);
        const QString page = (*it)->text(0);
        ExpectOnScreen(window.get(), page);
        ExpectOnScreen(ConnectButton(), page);
        if (SaveButton()->isVisible()) {
            ExpectOnScreen(SaveButton(), page);
        }
        // What the page area cannot show is reached by scrolling.
        const QWidget* shown = scroll->widget();
        EXPECT_TRUE(shown->width() <= scroll->viewport()->width() ||
                    scroll->horizontalScrollBar()->isVisible())
            << page.toStdString();
        EXPECT_TRUE(shown->height() <= scroll->viewport()->height() ||
                    scroll->verticalScrollBar()->isVisible())
            << page.toStdString();
    }
}

}  // namespace
