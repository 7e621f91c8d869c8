// Every registered dialog template, built by the layer in the font and style it uses: each
// control's text must fit inside its control, as it did in the original's dialog font. New
// templates are checked as soon as they are registered.
#include "Dialog.h"
#include "DialogLook.h"
#include "DialogTemplate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QStyle>
#include <QStyleOption>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// What a control shows, without the mnemonic marks of button and static texts.
QString Shown(const QString& text)
{
    QString shown = text;
    shown.replace("&&", "\x01").remove('&').replace("\x01", "&");
    return shown;
}

struct Clip {
    QString text;
    QSize needed;
    QRect room;
};

// Notes the text when it needs more room than it has.
void NoteIfClipped(std::vector<Clip>& clips, const QString& text, QSize needed, QRect room)
{
    if (needed.width() > room.width() || needed.height() > room.height())
        clips.push_back({text, needed, room});
}

// Room for a push button's text: the style's contents rectangle.
void CheckButton(QPushButton* button, std::vector<Clip>& clips)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = button->rect();
    option.text = button->text();
    QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    QFontMetrics fm(button->font());
    QString text = Shown(button->text());
    NoteIfClipped(clips, text, QSize(fm.horizontalAdvance(text), fm.height()), room);
}

// Room for a check box's or a radio button's label: beside its indicator. A box laid out with no
// room for a label at all shows only its box, as in the original.
void CheckIndicatorLabel(QAbstractButton* button, QStyle::SubElement contents,
                         std::vector<Clip>& clips)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = button->rect();
    option.text = button->text();
    QRect room = button->style()->subElementRect(contents, &option, button);
    QFontMetrics fm(button->font());
    QString text = Shown(button->text());
    if (text.isEmpty() || room.width() < fm.averageCharWidth()) return;
    NoteIfClipped(clips, text, QSize(fm.horizontalAdvance(text), fm.height()), room);
}

// A static wraps at word ends, as the original's do: every line must fit, and all the lines
// together must fit its height.
void CheckLabel(QLabel* label, std::vector<Clip>& clips)
{
    QString text = Shown(label->text());
    if (text.isEmpty()) return;
    QRect room = label->contentsRect();
    QFontMetrics fm(label->font());
    QRect needed = fm.boundingRect(room, Qt::TextWordWrap | label->alignment(), text);
    NoteIfClipped(clips, text, needed.size(), room);
}

// A group box's title lies inside its frame.
void CheckGroupTitle(QGroupBox* group, std::vector<Clip>& clips)
{
    if (group->title().isEmpty()) return;
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.rect = group->rect();
    option.text = group->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                 QStyle::SC_GroupBoxLabel, group);
    QFontMetrics fm(group->font());
    QSize needed(fm.horizontalAdvance(group->title()), fm.height());
    QRect room = group->rect();
    if (!room.contains(title) || needed.width() > title.width())
        clips.push_back({group->title(), needed, QRect(title.topLeft(), room.bottomRight())});
}

// Every row of a combo box fits its selection field, whichever row is chosen.
void CheckComboRows(QComboBox* combo, std::vector<Clip>& clips)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.rect = combo->rect();
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    QRect room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                QStyle::SC_ComboBoxEditField, combo);
    QFontMetrics fm(combo->font());
    for (int row = 0; row < combo->count(); ++row) {
        QString text = combo->itemText(row);
        NoteIfClipped(clips, text, QSize(fm.horizontalAdvance(text), fm.height()), room);
    }
}

std::vector<Clip> ClippedTexts(QWidget* control)
{
    std::vector<Clip> clips;
    if (auto* button = qobject_cast<QPushButton*>(control))
        CheckButton(button, clips);
    else if (auto* box = qobject_cast<QCheckBox*>(control))
        CheckIndicatorLabel(box, QStyle::SE_CheckBoxContents, clips);
    else if (auto* radio = qobject_cast<QRadioButton*>(control))
        CheckIndicatorLabel(radio, QStyle::SE_RadioButtonContents, clips);
    else if (auto* label = qobject_cast<QLabel*>(control))
        CheckLabel(label, clips);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        CheckGroupTitle(group, clips);
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        CheckComboRows(combo, clips);
    return clips;
}

std::string Describe(int nID, const Clip& clip)
{
    std::ostringstream out;
    out << "control " << nID << " \"" << clip.text.toStdString() << "\" needs "
        << clip.needed.width() << "x" << clip.needed.height() << " px, has " << clip.room.width()
        << "x" << clip.room.height();
    return out.str();
}

// The check below is only as good as the font it measures: the layer's font must be there.
TEST(DialogFont, IsTheInstalledSongFace)
{
    EXPECT_EQ(QFontInfo(DialogFont()).family().toStdString(), kDialogFontFamily)
        << "install the Debian package fonts-arphic-uming";
}

class TemplateText : public ::testing::TestWithParam<int> {};

TEST_P(TemplateText, EveryControlTextFitsItsControl)
{
    const int nID = GetParam();
    CDialog dlg(static_cast<UINT>(nID));
    ASSERT_TRUE(dlg.Create(static_cast<UINT>(nID)));
    std::vector<std::string> clipped;
    for (QWidget* control : dlg.GetWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QVariant id = control->property("ctrlId");
        if (!id.isValid()) continue;
        for (const Clip& clip : ClippedTexts(control))
            clipped.push_back(Describe(id.toInt(), clip));
    }
    dlg.DestroyWindow();
    std::ostringstream all;
    for (const std::string& line : clipped) all << "\n  " << line;
    EXPECT_TRUE(clipped.empty()) << "template " << nID << ":" << all.str();
}

struct Placed {
    int nID;
    QString text;
    QRect rect;
    bool bGroup;
};

std::string Describe(const Placed& control)
{
    std::ostringstream out;
    QRect r = control.rect;
    out << "control " << control.nID << " \"" << control.text.toStdString() << "\" at " << r.x()
        << "," << r.y() << " " << r.width() << "x" << r.height();
    return out.str();
}

// Two controls may share room in two ways only: a group box draws its frame around the controls it
// holds whole (labels, boxes, nested groups), and alternates stand on the very same rectangle for
// the dialog to show one of them at a time (the range lists of different models; controls created
// hidden and never shown). Any other overlap hides a part of one control under another: a label in
// an edit, a button across a frame.
bool MayOverlap(const Placed& a, const Placed& b)
{
    return (a.bGroup && a.rect.contains(b.rect)) || (b.bGroup && b.rect.contains(a.rect)) ||
           a.rect == b.rect;
}

QString ShownText(QWidget* control)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control)) return Shown(button->text());
    if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(control)) return group->title();
    return {};
}

// Every control lies whole inside its dialog, and no two overlap unless one is a group box
// around the other. Combo boxes count at their closed height, as they stand on screen.
TEST_P(TemplateText, EveryControlLiesInsideItsDialogApartFromItsNeighbours)
{
    const int nID = GetParam();
    CDialog dlg(static_cast<UINT>(nID));
    ASSERT_TRUE(dlg.Create(static_cast<UINT>(nID)));
    QWidget* window = dlg.GetWidget();
    std::vector<Placed> placed;
    for (QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QVariant id = control->property("ctrlId");
        if (!id.isValid()) continue;
        placed.push_back({id.toInt(), ShownText(control), control->geometry(),
                          qobject_cast<QGroupBox*>(control) != nullptr});
    }
    const QRect room = window->rect();
    dlg.DestroyWindow();
    std::vector<std::string> faults;
    for (size_t i = 0; i < placed.size(); ++i) {
        if (!room.contains(placed[i].rect))
            faults.push_back(Describe(placed[i]) + " reaches outside the dialog");
        for (size_t j = i + 1; j < placed.size(); ++j) {
            if (placed[i].rect.intersects(placed[j].rect) && !MayOverlap(placed[i], placed[j]))
                faults.push_back(Describe(placed[i]) + " overlaps " + Describe(placed[j]));
        }
    }
    std::ostringstream all;
    for (const std::string& line : faults) all << "\n  " << line;
    EXPECT_TRUE(faults.empty()) << "template " << nID << " (" << room.width() << "x"
                                << room.height() << " px):" << all.str();
}

INSTANTIATE_TEST_SUITE_P(AllTemplates, TemplateText,
                         ::testing::ValuesIn(RegisteredDialogTemplateIds()),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Template" + std::to_string(info.param);
                         });

} // namespace
