#pragma once

class QLineEdit;

// A number field that takes only what its record bits can hold, from 0 to maximum: a value
// out of range cannot be typed, so nothing is cut silently at a save. It is as wide as its
// widest number.
void SetUpNumberField(QLineEdit* field, int maximum);

// The largest value of a byte, and of the two parts of the barcode's white field.
inline constexpr int kByteMaximum = 255;
inline constexpr int kQuietZoneLinesMaximum = 31;
inline constexpr int kQuietZoneMillimetresMaximum = 7;
