#pragma once
// The program's colour scheme: a light green background, light edit boxes and
// blue text, a shade lighter on the main window than on its pages.

#include <QColor>

class QWidget;

namespace quillon {

struct VisualStyle {
    QColor background;
    QColor editBackground;
    QColor text = QColor(0, 0, 255);
};

inline const VisualStyle kMainWindowStyle{QColor(236, 255, 245), QColor(249, 249, 249)};
inline const VisualStyle kConvertPageStyle{QColor(196, 255, 225), QColor(252, 252, 252)};
inline const VisualStyle kOptionsPageStyle{QColor(196, 255, 225), QColor(255, 255, 255)};

// Gives the widget (and so its children) the style's colours.
void applyVisualStyle(QWidget& widget, const VisualStyle& style);

}  // namespace quillon
