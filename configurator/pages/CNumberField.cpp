#include "CNumberField.h"

#include <QIntValidator>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolTip>

#include "ConfiguratorStrings.h"
#include "SettingItems.h"

namespace {

// Drawn over the style's own frame, so it reads the same in every style.
const QColor kRefusedColour(0xD0, 0x1C, 0x1C);
constexpr qreal kRefusedFrameWidth = 2.0;
constexpr qreal kRefusedFrameRadius = 2.0;

}  // namespace

CNumberField::CNumberField(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, &CNumberField::ShowAcceptance);
}

void CNumberField::TakeRangeOf(std::string_view setting) {
    const SettingItem* item = FindSettingItem(setting);
    Q_ASSERT_X(item != nullptr, "CNumberField", "a number field of no setting");
    setValidator(new QIntValidator(item->low, item->high, this));
    m_allowed = QString::fromUtf8(ConfigString(IDS_NUMBER_ALLOWED)).arg(item->low).arg(item->high);
    FitWidth(item->high);
    ShowAcceptance();
}

// Room for one digit more than the widest number, so it never scrolls.
void CNumberField::FitWidth(int widest) {
    const QString digits = QString::number(widest);
    setMaxLength(static_cast<int>(digits.size()));
    QStyleOptionFrame option;
    option.initFrom(this);
    const int text = fontMetrics().horizontalAdvance(digits + '0');
    const QSize size = style()->sizeFromContents(QStyle::CT_LineEdit, &option,
                                                 QSize(text, fontMetrics().height()), this);
    setFixedWidth(size.width());
}

void CNumberField::ShowAcceptance() {
    const bool acceptable = hasAcceptableInput();
    setToolTip(acceptable ? QString() : m_allowed);
    update();
}

// The focus first: a tooltip closes when the focus moves. The tip goes beside the field, where
// it covers no other field of the page.
void CNumberField::PointOut() {
    setFocus(Qt::OtherFocusReason);
    selectAll();
    QToolTip::showText(mapToGlobal(QPoint(width(), 0)), toolTip(), this);
}

CNumberField* CNumberField::FirstRefused(std::initializer_list<CNumberField*> fields) {
    for (CNumberField* field : fields) {
        if (!field->hasAcceptableInput()) {
            return field;
        }
    }
    return nullptr;
}

void CNumberField::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (hasAcceptableInput()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kRefusedColour, kRefusedFrameWidth));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = kRefusedFrameWidth / 2;
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset),
                            kRefusedFrameRadius, kRefusedFrameRadius);
}
