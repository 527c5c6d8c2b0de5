#include "TextFit.h"

#include "CElidingLineEdit.h"
#include "InterfaceLanguage.h"
#include "WidgetTexts.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>

#include <gtest/gtest.h>

namespace {

class Report {
public:
    void Check(const QWidget* widget, const QString& text, int needed, int offered) {
        if (needed > offered) {
            m_lines << QString("%1 (%2): \"%3\" (%4 > %5)")
                           .arg(widget->objectName(), widget->metaObject()->className(), text)
                           .arg(needed)
                           .arg(offered);
        }
    }
    QStringList Lines() const { return m_lines; }

private:
    QStringList m_lines;
};

int TextWidth(const QWidget* widget, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split('\n')) {
        widest = std::max(widest, widget->fontMetrics().horizontalAdvance(line));
    }
    return widest;
}

// Item views draw their text inside a focus-frame margin on either side.
int ItemTextMargins(const QWidget* widget) {
    return 2 * (widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1);
}

void CheckLabel(Report& report, const QLabel* label) {
    if (label->text().isEmpty() || !label->pixmap().isNull()) {
        return;
    }
    const int offered = label->contentsRect().width() - 2 * std::max(label->margin(), 0);
    if (label->wordWrap()) {
        report.Check(label, label->text(), label->heightForWidth(label->width()), label->height());
    } else {
        report.Check(label, label->text(), TextWidth(label, label->text()), offered);
    }
}

void CheckButton(Report& report, QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    const bool check = qobject_cast<QCheckBox*>(button) != nullptr;
    const QRect contents = button->style()->subElementRect(
        check ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, button);
    report.Check(button, button->text(), TextWidth(button, button->text()), contents.width());
}

void CheckCombo(Report& report, QComboBox* box) {
    // A port box that has grown as far as its screen lets it shows a longer path elided in the
    // middle, with the whole path in its tooltip: that is what it shows, not a clipped text.
    const auto* eliding = dynamic_cast<const CElidingLineEdit*>(box->lineEdit());
    if (eliding != nullptr && box->width() >= box->maximumWidth()) {
        const QString shown = eliding->ShownText();
        report.Check(box, shown, TextWidth(eliding, shown), eliding->contentsRect().width());
        return;
    }
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = box->isEditable();
    const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                     QStyle::SC_ComboBoxEditField, box);
    for (int i = 0; i < box->count(); ++i) {
        // The label is drawn one pixel in from either side of the field.
        report.Check(box, box->itemText(i), TextWidth(box, box->itemText(i)) + 2, field.width());
    }
}

void CheckGroupBox(Report& report, QGroupBox* box) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    option.lineWidth = 1;
    const QRect frame =
        box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, box);
    report.Check(box, box->title(), TextWidth(box, box->title()), frame.width());
}

void CheckLineEdit(Report& report, const QLineEdit* field) {
    const QString widest = field->maxLength() < 10 ? QString(field->maxLength(), '0') : QString();
    const QMargins margins = field->textMargins();
    report.Check(field, widest, TextWidth(field, widest) + margins.left() + margins.right(),
                 field->contentsRect().width() - 4);
}

void CheckTree(Report& report, QTreeWidget* tree) {
    tree->expandAll();
    const int viewport = tree->viewport()->width();
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
        const QRect rect = tree->visualItemRect(*it);
        const QString text = (*it)->text(0);
        report.Check(tree, text, rect.x() + ItemTextMargins(tree) + TextWidth(tree, text),
                     viewport);
    }
    tree->collapseAll();
}

void CheckList(Report& report, QListWidget* list) {
    const int indicator = list->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, list);
    const int viewport = list->viewport()->width();
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem* item = list->item(i);
        const int check = (item->flags() & Qt::ItemIsUserCheckable) ? indicator : 0;
        const QRect rect = list->visualItemRect(item);
        report.Check(
            list, item->text(),
            rect.x() + check + 3 * ItemTextMargins(list) / 2 + TextWidth(list, item->text()),
            viewport);
    }
}

void CheckWidget(Report& report, QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        CheckLabel(report, label);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        CheckButton(report, button);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        CheckCombo(report, combo);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        CheckGroupBox(report, group);
    } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
        if (qobject_cast<QComboBox*>(field->parentWidget()) == nullptr) {
            CheckLineEdit(report, field);
        }
    } else if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
        CheckTree(report, tree);
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        CheckList(report, list);
    }
}

// An English run checks that no text a user sees was left in Russian.
void ExpectAllTranslated(QWidget* top, const QString& where) {
    if (LanguageFor(QLocale::system()) != InterfaceLanguage::English) {
        return;
    }
    const QStringList untranslated = CyrillicTexts(top);
    EXPECT_TRUE(untranslated.isEmpty()) << where.toStdString() << ", untranslated:\n"
                                        << untranslated.join('\n').toStdString();
}

}  // namespace

QStringList ClippedTexts(QWidget* top) {
    Report report;
    CheckWidget(report, top);
    for (QWidget* widget : top->findChildren<QWidget*>()) {
        if (widget->isVisible()) {
            CheckWidget(report, widget);
        }
    }
    return report.Lines();
}

void ExpectAllFit(QWidget* top, const QString& where) {
    ExpectAllTranslated(top, where);
    if (QTest::qWaitFor([top] { return ClippedTexts(top).isEmpty(); }, 1000)) {
        return;
    }
    const QStringList clipped = ClippedTexts(top);
    EXPECT_TRUE(clipped.isEmpty()) << where.toStdString() << ":\n"
                                   << clipped.join('\n').toStdString();
}
