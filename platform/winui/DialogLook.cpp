#include "DialogLook.h"

#include <QApplication>
#include <QFont>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

// Fusion leaves more room around a label than the original's controls did; these are the
// original's pixel sizes, so a text that fitted there fits here.
class CDialogStyle : public QProxyStyle {
public:
    CDialogStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return kIndicator;
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
            return kLabelSpacing;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override
    {
        if (control != CC_ComboBox || (sub != SC_ComboBoxEditField && sub != SC_ComboBoxArrow))
            return QProxyStyle::subControlRect(control, option, sub, widget);
        // The arrow button is a scroll bar wide and the text starts just inside the frame.
        QRect r = option->rect;
        QRect arrow(r.right() - kComboFrame - kComboArrow + 1, r.top() + kComboFrame, kComboArrow,
                    r.height() - 2 * kComboFrame);
        if (sub == SC_ComboBoxArrow) return visualRect(option->direction, r, arrow);
        QRect field(r.left() + kComboFrame, r.top() + kComboFrame,
                    arrow.left() - r.left() - kComboFrame, r.height() - 2 * kComboFrame);
        return visualRect(option->direction, r, field);
    }

private:
    static constexpr int kIndicator = 13;
    static constexpr int kLabelSpacing = 5;
    static constexpr int kComboFrame = 2;
    static constexpr int kComboArrow = 17;
};

} // namespace

const QFont& DialogFont()
{
    static const QFont font = [] {
        QFont f(kDialogFontFamily);
        f.setPointSize(kDialogFontPoints);
        return f;
    }();
    return font;
}

QStyle* DialogStyle()
{
    // Owned by the application, so it goes with it.
    static QStyle* style = [] {
        auto* s = new CDialogStyle;
        s->setParent(qApp);
        return s;
    }();
    return style;
}
