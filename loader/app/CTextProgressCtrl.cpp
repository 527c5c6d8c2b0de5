#include "CTextProgressCtrl.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <utility>

CTextProgressCtrl::CTextProgressCtrl(QWidget* parent) : QWidget(parent) {
    // The paint covers every pixel; no background erase is needed.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CTextProgressCtrl::SetRange(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
    update();
}

// Redrawn at once whenever the drawing changes: the filled part, or the percentage after the
// text, which on a narrow bar moves on before the filled part does.
int CTextProgressCtrl::SetPos(int position) {
    const int previous = m_position;
    m_position = position;
    const int filled = FilledExtent();
    const int percent = PercentFollowsText() ? Percent() : m_drawnPercent;
    if (filled != m_filledWidth || percent != m_drawnPercent) {
        m_filledWidth = filled;
        m_drawnPercent = percent;
        repaint();
    }
    return previous;
}

QSize CTextProgressCtrl::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    const int across = metrics.height() + 8;
    const int along = std::max(TextExtent(), metrics.averageCharWidth() * 20);
    return m_vertical ? QSize(across, along) : QSize(along, across);
}

QSize CTextProgressCtrl::minimumSizeHint() const {
    const int across = fontMetrics().height() + 8;
    if (m_vertical || !m_showText) {
        return {across, across};
    }
    return {std::max(across, TextExtent()), across};
}

// The text with the widest percentage and a little room at either end, up to the limit.
int CTextProgressCtrl::TextExtent() const {
    const QFontMetrics metrics = fontMetrics();
    const int needed = metrics.horizontalAdvance(TextAt(100)) + metrics.averageCharWidth();
    return std::min(needed, m_widthLimit);
}

void CTextProgressCtrl::SetWidthLimit(int pixels) {
    m_widthLimit = pixels;
    updateGeometry();
    update();
}

int CTextProgressCtrl::SetStep(int step) {
    return std::exchange(m_step, step);
}

QColor CTextProgressCtrl::SetBarColor(const QColor& colour) {
    update();
    return std::exchange(m_barColour, colour);
}

QColor CTextProgressCtrl::SetBkColor(const QColor& colour) {
    update();
    return std::exchange(m_backgroundColour, colour);
}

QColor CTextProgressCtrl::SetTextColor(const QColor& colour) {
    update();
    return std::exchange(m_textColour, colour);
}

void CTextProgressCtrl::SetShowText(bool show) {
    if (show != m_showText) {
        update();
    }
    m_showText = show;
}

void CTextProgressCtrl::SetPercentAfterText(bool after) {
    m_percentAfterText = after;
    updateGeometry();
    update();
}

void CTextProgressCtrl::SetText(const QString& text) {
    if (text != m_text) {
        m_text = text;
        updateGeometry();
        update();
        emit TextChanged(m_text);
    }
}

void CTextProgressCtrl::SetVertical(bool vertical) {
    m_vertical = vertical;
    update();
}

double CTextProgressCtrl::Fraction() const {
    return static_cast<double>(m_position - m_lower) / static_cast<double>(m_upper - m_lower);
}

// In whole numbers: the fraction's floating point would show 56 % at exactly 57 % of 79 200.
int CTextProgressCtrl::Percent() const {
    if (m_lower >= m_upper) {
        return 0;
    }
    return static_cast<int>(static_cast<long long>(m_position - m_lower) * 100 /
                            (static_cast<long long>(m_upper) - m_lower));
}

// A blank text (the bar's text between loads) takes no percentage.
bool CTextProgressCtrl::PercentFollowsText() const {
    return m_percentAfterText && !m_text.trimmed().isEmpty();
}

QString CTextProgressCtrl::TextAt(int percent) const {
    if (m_text.isEmpty()) {
        return QStringLiteral("%1%").arg(percent);
    }
    if (PercentFollowsText()) {
        return m_text + QStringLiteral(" \u2014 %1 %").arg(percent);
    }
    return m_text;
}

QString CTextProgressCtrl::ShownText() const {
    return TextAt(Percent());
}

QString CTextProgressCtrl::DrawnText() const {
    const QFontMetrics metrics(parentWidget() != nullptr ? parentWidget()->font() : font());
    const QString shown = ShownText();
    const int room = width() - metrics.averageCharWidth();
    if (metrics.horizontalAdvance(shown) <= room) {
        return shown;
    }
    const QString percent = shown.mid(m_text.size());
    return metrics.elidedText(m_text, Qt::ElideMiddle, room - metrics.horizontalAdvance(percent)) +
           percent;
}

int CTextProgressCtrl::FilledExtent() const {
    if (m_lower >= m_upper) {
        return 0;
    }
    return static_cast<int>((m_vertical ? height() : width()) * Fraction());
}

void CTextProgressCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_filledWidth = -1;
}

void CTextProgressCtrl::paintEvent(QPaintEvent*) {
    if (m_lower >= m_upper) {
        return;
    }
    const QColor bar = m_barColour.isValid() ? m_barColour : palette().color(QPalette::Highlight);
    const QColor background =
        m_backgroundColour.isValid() ? m_backgroundColour : palette().color(QPalette::Base);
    const QRect area = rect();
    const double fraction = Fraction();
    QRect filled = area;
    QRect empty = area;
    if (m_vertical) {
        const int top = area.bottom() + 1 - static_cast<int>(area.height() * fraction);
        filled.setTop(top);
        empty.setBottom(top - 1);
    } else {
        const int right = area.left() + static_cast<int>(area.width() * fraction);
        filled.setRight(right - 1);
        empty.setLeft(right);
    }
    QPainter painter(this);
    painter.setFont(parentWidget() != nullptr ? parentWidget()->font() : font());
    painter.fillRect(filled.intersected(area), bar);
    painter.fillRect(empty.intersected(area), background);
    if (!m_showText || m_vertical) {
        return;
    }
    const QString text = DrawnText();
    painter.setClipRect(filled.intersected(area));
    painter.setPen(m_textColour.isValid() ? m_textColour : background);
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, text);
    painter.setClipRect(empty.intersected(area));
    painter.setPen(m_textColour.isValid() ? m_textColour : bar);
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, text);
}
