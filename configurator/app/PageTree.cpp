#include "PageTree.h"

#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>
#include <utility>

#include "CPage.h"
#include "ConfiguratorStrings.h"

namespace {

constexpr int kPageIdRole = Qt::UserRole;

QTreeWidgetItem* PageItem(int textId, int pageId) {
    auto* item = new QTreeWidgetItem({QString::fromUtf8(ConfigString(textId))});
    item->setData(0, kPageIdRole, pageId);
    return item;
}

// The tree does not scroll sideways: it is as wide as its widest item with every branch open,
// each item as the style draws it (indentation, text margins) and room for a scroll bar.
void FitTreeWidth(QTreeWidget& tree) {
    const QFontMetrics metrics(tree.font());
    const int textMargins = 2 * (tree.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    int widest = 0;
    for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it) {
        int depth = 1;
        for (const QTreeWidgetItem* up = (*it)->parent(); up != nullptr; up = up->parent()) {
            ++depth;
        }
        widest = std::max(widest, depth * tree.indentation() +
                                      metrics.horizontalAdvance((*it)->text(0)) + textMargins);
    }
    const int scrollBar = tree.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    tree.setFixedWidth(widest + 2 * tree.frameWidth() + scrollBar);
}

}  // namespace

void FillPageTree(QTreeWidget& tree) {
    tree.addTopLevelItem(PageItem(IDS_CONNECTION, kPageConnection));
    auto* settings = PageItem(IDS_PRINTER_SETTINGS, kPageOptions);
    tree.addTopLevelItem(settings);
    for (const auto& [textId, pageId] :
         {std::pair{IDS_PRINTING, kPagePrinting}, std::pair{IDS_FONT, kPageFont},
          std::pair{IDS_TEXT_POSITION, kPageTextPosition}, std::pair{IDS_BARCODE, kPageBarcode},
          std::pair{IDS_RS232, kPagePort}}) {
        settings->addChild(PageItem(textId, pageId));
    }
    tree.addTopLevelItem(PageItem(IDS_SERVICE_INFO, kPageInfo));
    tree.setCurrentItem(nullptr);
    FitTreeWidth(tree);
}

int PageIdOf(const QTreeWidgetItem* item) {
    return item != nullptr ? item->data(0, kPageIdRole).toInt() : 0;
}

QTreeWidgetItem* ItemOfPage(const QTreeWidget& tree, int pageId) {
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it != nullptr; ++it) {
        if (PageIdOf(*it) == pageId) {
            return *it;
        }
    }
    return nullptr;
}
