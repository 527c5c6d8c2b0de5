#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every visible label, button, check box, group box title, number field, tree item, list item
// and combo item below the widget whose text needs more width than its widget offers, as
// "object name: text (needed > offered)". Empty when everything fits.
QStringList ClippedTexts(QWidget* top);
