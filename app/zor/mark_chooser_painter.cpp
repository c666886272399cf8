#include "zor/mark_chooser_painter.h"

#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWidget>
#include <functional>

#include "correction/mark_chooser.h"

namespace zor::app {

bool MarkChooserPainter::paint(QPainter& p, const ui::Control& c) const {
    const auto* chooser = dynamic_cast<const correction::MarkChooser*>(&c);
    if (!chooser) return false;
    QStyleOptionComboBox box;
    box.initFrom(&styleSource_);
    box.rect = QRect(c.bounds.left, c.bounds.top, c.bounds.width, c.bounds.height);
    box.state = c.enabled ? QStyle::State_Enabled : QStyle::State_None;
    box.palette.setCurrentColorGroup(c.enabled ? QPalette::Active : QPalette::Disabled);
    const QColor color = QColor::fromRgb(chooser->color >> 16, (chooser->color >> 8) & 0xFF,
                                         chooser->color & 0xFF);
    box.palette.setColor(QPalette::Active, QPalette::ButtonText, color);
    box.palette.setColor(QPalette::Active, QPalette::Text, color);
    box.currentText = QString::fromStdString(chooser->text());
    box.editable = false;
    box.frame = true;
    styleSource_.style()->drawComplexControl(QStyle::CC_ComboBox, &box, &p, &styleSource_);
    styleSource_.style()->drawControl(QStyle::CE_ComboBoxLabel, &box, &p, &styleSource_);
    return true;
}

std::size_t MarkChooserPainter::digest(const ui::Control& c) const {
    const auto* chooser = dynamic_cast<const correction::MarkChooser*>(&c);
    return chooser ? std::hash<std::uint32_t>{}(chooser->color) + 1 : 0;
}

}  // namespace zor::app
