#include "WidgetTexts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>

namespace {

void AddTexts(QStringList& texts, QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        texts << label->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        texts << button->text();
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        texts << group->title();
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        for (int i = 0; i < combo->count(); ++i) {
            texts << combo->itemText(i);
        }
    } else if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
        for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
            texts << (*it)->text(0);
        }
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        for (int i = 0; i < list->count(); ++i) {
            texts << list->item(i)->text();
        }
    }
}

}  // namespace

QStringList VisibleTexts(QWidget* top) {
    QStringList texts{top->windowTitle()};
    AddTexts(texts, top);
    for (QWidget* widget : top->findChildren<QWidget*>()) {
        if (widget->isVisible()) {
            AddTexts(texts, widget);
        }
    }
    return texts;
}

QStringList CyrillicTexts(QWidget* top) {
    QStringList found;
    for (const QString& text : VisibleTexts(top)) {
        if (std::any_of(text.begin(), text.end(),
                        [](QChar c) { return c.script() == QChar::Script_Cyrillic; })) {
            found << text;
        }
    }
    return found;
}
