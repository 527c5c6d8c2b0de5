#pragma once

#include <QLineEdit>

// The field of an editable port box. A device path wider than the field is shown elided in the
// middle while the field is not being edited, so both the adapter's name at the start and the
// port at the end stay readable; text() and editing always have the whole path.
class CElidingLineEdit final : public QLineEdit {
public:
    explicit CElidingLineEdit(QWidget* parent = nullptr);

    // The text as drawn while the field is not being edited.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect TextRect() const;
};
