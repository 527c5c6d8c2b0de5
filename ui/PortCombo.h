#pragma once

class QComboBox;

// A port box wide enough for the longest device path it lists (such as a by-id path of a USB
// adapter), with the path of the chosen port, typed or listed, as its tooltip.
void FitPortCombo(QComboBox* box);
