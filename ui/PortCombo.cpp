#include "PortCombo.h"

#include <QComboBox>

void FitPortCombo(QComboBox* box) {
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (int i = 0; i < box->count(); ++i) {
        box->setItemData(i, box->itemText(i), Qt::ToolTipRole);
    }
    QObject::connect(box, &QComboBox::currentTextChanged, box,
                     [box](const QString& text) { box->setToolTip(text); });
    box->setToolTip(box->currentText());
}
