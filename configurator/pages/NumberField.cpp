#include "NumberField.h"

#include <QIntValidator>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

void SetUpNumberField(QLineEdit* field, int maximum) {
    field->setValidator(new QIntValidator(0, maximum, field));
    const QString widest = QString::number(maximum);
    field->setMaxLength(static_cast<int>(widest.size()));
    // Room for one digit more than the widest number, so it never scrolls.
    QStyleOptionFrame option;
    option.initFrom(field);
    const int text = field->fontMetrics().horizontalAdvance(widest + '0');
    const QSize size = field->style()->sizeFromContents(
        QStyle::CT_LineEdit, &option, QSize(text, field->fontMetrics().height()), field);
    field->setFixedWidth(size.width());
}
