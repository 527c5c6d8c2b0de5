#include "PageArea.h"

#include <QDialog>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

namespace {

// The smallest page area worth scrolling.
constexpr QSize kLeastPageArea{160, 120};

// The window manager's frame is not known before the window is shown: a title bar's height is
// kept free twice over.
QSize Room(const QDialog& window) {
    const int titleBar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QSize frame(titleBar / 2, 2 * titleBar);
    return window.screen()->availableGeometry().size() - frame;
}

QSize Over(QDialog& window) {
    window.layout()->invalidate();
    return (window.layout()->minimumSize() - Room(window)).expandedTo({0, 0});
}

}  // namespace

void FitPageAreaToScreen(QDialog& window, QScrollArea& area,
                         std::initializer_list<QWidget*> extras) {
    area.setMinimumSize(kLeastPageArea);
    if (Over(window).width() > 0) {
        for (QWidget* extra : extras) {
            extra->hide();
        }
    }
    const QSize pages = area.widget()->sizeHint();
    area.setMinimumSize(pages);
    area.setMinimumSize((pages - Over(window)).expandedTo(kLeastPageArea));
}
