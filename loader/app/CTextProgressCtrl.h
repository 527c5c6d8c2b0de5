#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

// A progress bar that draws itself with a text across it: over the filled part the text takes
// the background colour, over the empty part the bar colour, so it stays readable at any
// position. Without a text it shows the percentage; with one, the percentage can follow it.
class CTextProgressCtrl final : public QWidget {
    Q_OBJECT

public:
    explicit CTextProgressCtrl(QWidget* parent = nullptr);

    void SetRange(int lower, int upper);
    int Lower() const { return m_lower; }
    int Upper() const { return m_upper; }
    // Positions beyond the range are kept as they are: stepping past the end keeps counting.
    int SetPos(int position);
    int GetPos() const { return m_position; }
    int DeltaPos(int delta) { return SetPos(m_position + delta); }
    int StepIt() { return SetPos(m_position + m_step); }
    int SetStep(int step);
    // An invalid colour stands for the default: the system's highlight, window and, for the
    // text, the contrasting colour of each part.
    QColor SetBarColor(const QColor& colour);
    QColor SetBkColor(const QColor& colour);
    QColor SetTextColor(const QColor& colour);
    void SetShowText(bool show);
    // A text with letters in it is followed by " — N %", N the whole percent done.
    void SetPercentAfterText(bool after);
    void SetText(const QString& text);
    const QString& Text() const { return m_text; }
    // The text across the bar now: the status text with its percentage, or the percentage alone.
    QString ShownText() const;
    // The widest the bar asks to be, so that a window on a small screen still fits it; a text
    // wider than the bar is then drawn elided in the middle, its percentage kept whole.
    void SetWidthLimit(int pixels);
    // The text as drawn at the bar's width now.
    QString DrawnText() const;
    void SetVertical(bool vertical);

    // Without a size of its own a layout would give the bar no height at all; at least as wide
    // as its text with the widest percentage, up to its limit.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Every text the bar takes, so that a short-lived one can still be seen.
    void TextChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    double Fraction() const;
    int Percent() const;
    int FilledExtent() const;
    bool PercentFollowsText() const;
    QString TextAt(int percent) const;
    int TextExtent() const;

    QColor m_textColour;
    int m_position = 0;
    int m_step = 1;
    int m_upper = 100;
    int m_lower = 0;
    QString m_text;
    bool m_showText = true;
    bool m_percentAfterText = false;
    int m_drawnPercent = -1;
    int m_widthLimit = QWIDGETSIZE_MAX;
    int m_filledWidth = -1;
    QColor m_barColour;
    QColor m_backgroundColour;
    bool m_vertical = false;
};
