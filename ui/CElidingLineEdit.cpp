#include "CElidingLineEdit.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// QLineEdit keeps this many pixels between its contents rectangle and the text.
constexpr int kHorizontalMargin = 2;

}  // namespace

CElidingLineEdit::CElidingLineEdit(QWidget* parent) : QLineEdit(parent) {}

QString CElidingLineEdit::ShownText() const {
    if (hasFocus()) {
        return text();
    }
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, TextRect().width());
}

void CElidingLineEdit::paintEvent(QPaintEvent* event) {
    const QString shown = ShownText();
    if (shown == text()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(TextRect(), Qt::AlignLeft | Qt::AlignVCenter, shown);
}

QRect CElidingLineEdit::TextRect() const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    return contents.marginsRemoved(textMargins())
        .adjusted(kHorizontalMargin, 0, -kHorizontalMargin, 0);
}
