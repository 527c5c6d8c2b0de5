#pragma once

#include <initializer_list>

class QDialog;
class QScrollArea;
class QWidget;

// The page area takes the size of its largest page, so the window keeps one size whichever page
// it shows. Where the window's screen is smaller than that, the extras beside the pages (the
// receipt preview and its button) give way first, hidden when the pages could not scroll beside
// them; then the area gives up what does not fit and its pages scroll: the window's buttons
// stay on the screen.
void FitPageAreaToScreen(QDialog& window, QScrollArea& area,
                         std::initializer_list<QWidget*> extras);
