#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every visible label, button, check box, group box title, number field, tree item, list item
// and combo item below the widget whose text needs more width than its widget offers, as
// "object name: text (needed > offered)". Empty when everything fits.
QStringList ClippedTexts(QWidget* top);

// Fails the running test with every clipped text below top. Layouts settle through posted
// events, so a slow (sanitized) run is given a moment before the texts are measured. In an
// English run (the locale says so) it also fails with every text left in Russian.
void ExpectAllFit(QWidget* top, const QString& where);
