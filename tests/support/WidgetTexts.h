#pragma once

#include <QStringList>

class QWidget;

// Every text a user sees in the widget and its visible children: the window title, labels,
// buttons, check boxes, group box titles, combo, tree and list items. The printer's own answers
// (text fields) are left out.
QStringList VisibleTexts(QWidget* top);

// Those of the texts that hold Cyrillic letters: in the English interface, texts left untranslated.
QStringList CyrillicTexts(QWidget* top);
