#include "gui/visual_style.h"

#include <QPalette>
#include <QWidget>

namespace quillon {

void applyVisualStyle(QWidget& widget, const VisualStyle& style) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, style.background);
    palette.setColor(QPalette::Base, style.editBackground);
    // Disabled controls keep the platform's grey text.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(group, role, style.text);
    }
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

}  // namespace quillon
