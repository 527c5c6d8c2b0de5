#pragma once

class QTreeWidget;
class QTreeWidgetItem;

// The main window's tree of pages. Its items carry the page they show, so that a page is found
// by identity, not by its translated text.
void FillPageTree(QTreeWidget& tree);
// The page an item shows; 0 for none.
int PageIdOf(const QTreeWidgetItem* item);
// The item that shows a page; null for a page the tree does not show.
QTreeWidgetItem* ItemOfPage(const QTreeWidget& tree, int pageId);
