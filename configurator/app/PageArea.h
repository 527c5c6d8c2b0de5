#pragma once

class QDialog;
class QScrollArea;

// The page area takes the size of its largest page, so the window keeps one size whichever page
// it shows. Where the window's screen is smaller than that, the area gives up what does not fit
// and its pages scroll: the window's buttons stay on the screen.
void FitPageAreaToScreen(QDialog& window, QScrollArea& area);
