#include "PageArea.h"

#include <QDialog>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

namespace {

// The smallest page area worth scrolling.
constexpr QSize kLeastPageArea{160, 120};

}  // namespace

void FitPageAreaToScreen(QDialog& window, QScrollArea& area) {
    const QSize pages = area.widget()->sizeHint();
    area.setMinimumSize(pages);
    window.layout()->invalidate();
    // The window manager's frame is not known before the window is shown: a title bar's height
    // is kept free twice over.
    const int titleBar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QSize frame(titleBar / 2, 2 * titleBar);
    const QSize room = window.screen()->availableGeometry().size() - frame;
    const QSize over = (window.layout()->minimumSize() - room).expandedTo({0, 0});
    area.setMinimumSize((pages - over).expandedTo(kLeastPageArea));
}
