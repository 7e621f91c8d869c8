#include "WidgetText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// What an empty caption becomes: a title that shows nothing but is not empty.
const QString kBlankTitle = QStringLiteral(" ");

} // namespace

void SetWindowCaption(QWidget* window, const std::string& caption)
{
    window->setWindowTitle(caption.empty() ? kBlankTitle : QString::fromStdString(caption));
}

std::string WindowCaption(const QWidget* window)
{
    QString title = window->windowTitle();
    return title == kBlankTitle ? std::string() : title.toStdString();
}

std::string WidgetText(const QWidget* widget)
{
    if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text().toStdString();
    if (auto* text = qobject_cast<const QPlainTextEdit*>(widget)) {
        // Multi-line edits hold CR LF line ends, as the original's do.
        return text->toPlainText().replace("\n", "\r\n").toStdString();
    }
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text().toStdString();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text().toStdString();
    }
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentText().toStdString();
    if (auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title().toStdString();
    return WindowCaption(widget);
}

void SetWidgetText(QWidget* widget, const std::string& text)
{
    QString q = QString::fromStdString(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(q);
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
        multi->setPlainText(q.replace("\r\n", "\n"));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(q);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(q);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // A drop list shows only its rows: the text selects the row that matches it.
        if (combo->isEditable())
            combo->setEditText(q);
        else
            combo->setCurrentIndex(combo->findText(q, Qt::MatchFixedString));
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(q);
    } else {
        SetWindowCaption(widget, text);
    }
}
