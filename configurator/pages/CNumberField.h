#pragma once

#include <QLineEdit>
#include <QString>
#include <initializer_list>
#include <string_view>

// A number field of a settings page, with the range of its setting in the settings table, the
// one tq20 checks too. QLineEdit keeps text that its validator only calls unfinished (999 where
// 255 is the most, or nothing at all), and a save would cut it to the record's bits; so such
// text is shown with a red frame and the range in the tooltip, and its page is not saved.
class CNumberField final : public QLineEdit {
    Q_OBJECT

public:
    explicit CNumberField(QWidget* parent = nullptr);

    // Takes the range of the named setting; the field is as wide as its widest number.
    void TakeRangeOf(std::string_view setting);
    // Takes the focus and shows the range the text is outside of.
    void PointOut();

    // The first of the fields whose text is not acceptable; null when every one is.
    static CNumberField* FirstRefused(std::initializer_list<CNumberField*> fields);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowAcceptance();
    void FitWidth(int widest);

    QString m_allowed;
};
