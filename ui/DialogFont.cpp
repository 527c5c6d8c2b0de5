#include "DialogFont.h"

#include <QApplication>
#include <QFont>

void UseDialogFont() {
    QFont font = QApplication::font();
    font.setPointSize(8);
    QApplication::setFont(font);
}
