// The texts a dialog shows, as one list: every field, label, list row and list choice, and every
// box's mark. Two screens compare equal when the operator sees the same.
#pragma once

#include "Dialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <string>
#include <vector>

inline std::vector<std::string> ScreenTexts(CDialog& dlg)
{
    std::vector<std::string> texts;
    for (QWidget* w : dlg.GetWidget()->findChildren<QWidget*>()) {
        if (auto* edit = qobject_cast<QLineEdit*>(w)) texts.push_back(edit->text().toStdString());
        if (auto* label = qobject_cast<QLabel*>(w)) texts.push_back(label->text().toStdString());
        if (auto* combo = qobject_cast<QComboBox*>(w))
            texts.push_back(combo->currentText().toStdString());
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts.push_back(button->isChecked() ? "checked" : "");
        if (auto* list = qobject_cast<QListWidget*>(w)) {
            for (int i = 0; i < list->count(); ++i)
                texts.push_back(list->item(i)->text().toStdString());
        }
    }
    return texts;
}
