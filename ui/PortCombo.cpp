#include "PortCombo.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QScreen>

#include "CElidingLineEdit.h"

int PortComboWidthLimit(const QComboBox* box) {
    return box->screen()->availableGeometry().width() / 2;
}

void FitPortCombo(QComboBox* box) {
    if (box->isEditable()) {
        const QString text = box->currentText();
        box->setLineEdit(new CElidingLineEdit(box));
        box->setEditText(text);
    }
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    box->setMaximumWidth(PortComboWidthLimit(box));
    box->view()->setTextElideMode(Qt::ElideMiddle);
    for (int i = 0; i < box->count(); ++i) {
        box->setItemData(i, box->itemText(i), Qt::ToolTipRole);
    }
    QObject::connect(box, &QComboBox::currentTextChanged, box,
                     [box](const QString& text) { box->setToolTip(text); });
    box->setToolTip(box->currentText());
}
