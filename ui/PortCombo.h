#pragma once

class QComboBox;

// A port box wide enough for the longest device path it lists (such as a by-id path of a USB
// adapter), up to half the screen's width, with the path of the chosen port, typed or listed,
// as its tooltip. A path that even that cannot hold is shown elided in the middle, in an editable
// box's field and in the list; the box's text stays the whole path. (A box that cannot be edited
// lists the short names of Windows, which always fit.)
void FitPortCombo(QComboBox* box);

// The widest a port box may grow on its screen.
int PortComboWidthLimit(const QComboBox* box);
