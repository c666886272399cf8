#include "ui/qt/screen_painter.h"

#include <algorithm>
#include <cstdint>
#include <functional>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

#include "ui/qt/qt_pictures.h"

namespace zor::ui::qt {

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }

// Drops the "&" that marks an access key ("&&" stands for "&").
QString withoutAccessKey(const std::string& caption) {
    QString text = qs(caption);
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

void initOption(QStyleOption& option, const QWidget& source, const Control& c) {
    option.initFrom(&source);
    // Standard controls keep the standard colours, whatever the window's own.
    option.palette = QGuiApplication::palette();
    option.rect = rectOf(c.bounds);
    option.state = QStyle::State_None;
    if (c.enabled) option.state |= QStyle::State_Enabled;
    option.palette.setCurrentColorGroup(c.enabled ? QPalette::Active : QPalette::Disabled);
}

// Characters of a UTF-8 text as Qt counts them for the caret.
QString leftPart(const QString& text, int characters) {
    int units = 0;
    for (int n = 0; n < characters && units < text.size(); ++n)
        units += text[units].isHighSurrogate() ? 2 : 1;
    return text.left(units);
}

int characterCount(const QString& text) { return int(text.toUcs4().size()); }

constexpr QRgb kAqua = 0xFF00FFFF;

// The colour for text drawn straight onto what is already painted in `area`
// (a screen's picture): white over a dark picture, black over a light one,
// and a muted shade of it for a disabled control.
QColor readableTextColor(const QPainter& p, const QRect& area, bool enabled) {
    double sum = 0;
    int count = 0;
    if (const auto* image = dynamic_cast<const QImage*>(p.device())) {
        const QRect inside = area.intersected(image->rect());
        for (int y = inside.top(); y <= inside.bottom(); y += 3) {
            for (int x = inside.left(); x <= inside.right(); x += 3) {
                const QRgb pixel = image->pixel(x, y);
                sum += 0.299 * qRed(pixel) + 0.587 * qGreen(pixel) + 0.114 * qBlue(pixel);
                ++count;
            }
        }
    }
    const bool dark = count > 0 && sum / count < 128;
    if (enabled) return dark ? QColor(Qt::white) : QColor(Qt::black);
    return dark ? QColor(160, 160, 160) : QColor(110, 110, 110);
}

// Gives a standard control's label the colour `text`, so that it reads on
// the screen's own picture; the indicator keeps its standard colours.
void useTextColor(QStyleOption& option, const QColor& text) {
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        option.palette.setColor(group, QPalette::WindowText, text);
        option.palette.setColor(group, QPalette::ButtonText, text);
    }
}
}  // namespace

QImage ScreenPainter::render(const Screen& screen, QSize size, bool keyboard) const {
    // Opaque screens are drawn without an alpha channel: they are copied,
    // not blended, onto the window.
    QImage image(size.expandedTo({1, 1}), screen.transparentColorEnabled
                                              ? QImage::Format_ARGB32_Premultiplied
                                              : QImage::Format_RGB32);
    // A screen with a transparent colour has that colour as its own, so
    // only its pictures show.
    image.fill(screen.transparentColorEnabled ? QColor(Qt::transparent)
                                              : QColor::fromRgb(QRgb(screen.color)));
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(styleSource_.font());
        for (const Control* c : screen.controls()) {
            if (!c->visible) continue;
            p.save();
            paintControl(p, *c, keyboard && c == screen.ActiveControl);
            p.restore();
        }
    }
    if (screen.transparentColorEnabled) {
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (line[x] == kAqua) line[x] = 0;
        }
    }
    return image;
}

namespace {
struct Digest {
    std::size_t value = 0x9e3779b97f4a7c15ull;
    template <typename T>
    Digest& operator<<(const T& v) {
        value ^= std::hash<T>{}(v) + 0x9e3779b97f4a7c15ull + (value << 6) + (value >> 2);
        return *this;
    }
    Digest& operator<<(const Bounds& b) { return *this << b.left << b.top << b.width << b.height; }
};
}  // namespace

std::size_t ScreenPainter::digest(const Screen& screen, QSize size, bool keyboard) {
    Digest d;
    d << size.width() << size.height() << keyboard << screen.color << screen.transparentColorEnabled
      << reinterpret_cast<std::uintptr_t>(screen.ActiveControl);
    for (const Control* c : screen.controls()) {
        d << c->visible << c->enabled << c->bounds;
        if (!c->visible) continue;
        if (auto* x = dynamic_cast<const Picture*>(c)) {
            d << x->fileName() << x->stretch << x->center;
        } else if (auto* x = dynamic_cast<const Label*>(c)) {
            d << x->caption << int(x->alignment) << x->wordWrap << x->fontSize << x->bold << x->color
              << x->transparent;
        } else if (auto* x = dynamic_cast<const Edit*>(c)) {
            d << x->text() << x->readOnly << x->caret;
        } else if (auto* x = dynamic_cast<const RadioGroup*>(c)) {
            d << x->caption << x->itemIndex;
            for (const auto& item : x->items) d << item;
        } else if (auto* x = dynamic_cast<const ComboBox*>(c)) {
            d << x->text();
        } else if (auto* x = dynamic_cast<const PushButton*>(c)) {
            d << x->caption << x->isDefault;
        } else if (auto* x = dynamic_cast<const CheckBox*>(c)) {
            d << x->caption << x->checked;
        } else if (auto* x = dynamic_cast<const StringGrid*>(c)) {
            d << x->colCount() << x->rowCount();
            for (int row = 0; row < x->rowCount(); ++row)
                for (int col = 0; col < x->colCount(); ++col) d << x->cell(col, row);
        } else if (auto* x = dynamic_cast<const ProgressBar*>(c)) {
            d << x->min << x->max << x->position;
        }
    }
    return d.value;
}

std::size_t ScreenPainter::fullDigest(const Screen& screen, QSize size, bool keyboard) const {
    Digest d;
    d << digest(screen, size, keyboard);
    for (const Control* c : screen.controls()) {
        if (!c->visible) continue;
        for (const ControlPainter* extra : extraPainters_) d << extra->digest(*c);
    }
    return d.value;
}

void ScreenPainter::paintControl(QPainter& p, const Control& c, bool caret) const {
    for (const ControlPainter* extra : extraPainters_)
        if (extra->paint(p, c)) return;
    if (auto* x = dynamic_cast<const Picture*>(&c)) return paintPicture(p, *x);
    if (auto* x = dynamic_cast<const Label*>(&c)) return paintLabel(p, *x);
    if (auto* x = dynamic_cast<const Edit*>(&c)) return paintEdit(p, *x, caret);
    if (auto* x = dynamic_cast<const RadioGroup*>(&c)) return paintRadioGroup(p, *x, caret);
    if (auto* x = dynamic_cast<const ComboBox*>(&c)) return paintComboBox(p, *x);
    if (auto* x = dynamic_cast<const PushButton*>(&c)) return paintPushButton(p, *x);
    if (auto* x = dynamic_cast<const CheckBox*>(&c)) return paintCheckBox(p, *x);
    if (auto* x = dynamic_cast<const StringGrid*>(&c)) return paintStringGrid(p, *x);
    if (auto* x = dynamic_cast<const ProgressBar*>(&c)) return paintProgressBar(p, *x);
    // Other controls (menus) have no face on the screen.
}

void ScreenPainter::paintPicture(QPainter& p, const Picture& c) const {
    if (c.fileName().empty()) return;
    const QImage& image = pictures_.image(c.fileName());
    if (image.isNull()) return;  // the file went away after loading
    QRect area = rectOf(c.bounds);
    if (area.width() <= 0 || area.height() <= 0) area.setSize(image.size());
    p.setClipRect(area);
    if (c.stretch) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(area, image);
    } else if (c.center) {
        p.drawImage(area.center() - QPoint(image.width() / 2, image.height() / 2), image);
    } else {
        p.drawImage(area.topLeft(), image);
    }
}

void ScreenPainter::paintLabel(QPainter& p, const Label& c) const {
    QFont font = p.font();
    font.setPixelSize(std::max(1, c.fontSize));
    font.setBold(c.bold);
    p.setFont(font);
    p.setPen(c.enabled ? QColor::fromRgb(c.color) : QColor(Qt::gray));
    const QRect area = rectOf(c.bounds);
    if (!c.transparent) p.fillRect(area, QColor::fromRgb(QRgb(c.owner().color)));
    int flags = Qt::AlignTop;
    switch (c.alignment) {
        case Label::Alignment::Left: flags |= Qt::AlignLeft; break;
        case Label::Alignment::Center: flags |= Qt::AlignHCenter; break;
        case Label::Alignment::Right: flags |= Qt::AlignRight; break;
    }
    if (c.wordWrap) flags |= Qt::TextWordWrap;
    p.drawText(area.width() > 0 ? area : QRect(area.topLeft(), QSize(10000, 10000)), flags,
               withoutAccessKey(c.caption));
}

void ScreenPainter::paintEdit(QPainter& p, const Edit& c, bool caret) const {
    const QRect area = rectOf(c.bounds);
    const bool editable = c.enabled && !c.readOnly;
    p.fillRect(area, editable ? QColor(Qt::white) : QColor(240, 240, 240));
    p.setPen(QColor(122, 122, 122));
    p.drawRect(area.adjusted(0, 0, -1, -1));
    const QRect textArea = area.adjusted(layout::kEditPadding, 1, -layout::kEditPadding, -1);
    p.setClipRect(textArea);
    const QString text = qs(c.text());
    p.setPen(c.enabled ? QColor(Qt::black) : QColor(Qt::gray));
    p.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter, text);
    if (caret && editable) {
        const int at = c.caret < 0 ? characterCount(text) : std::min(c.caret, characterCount(text));
        const int x = textArea.left() + QFontMetrics(p.font()).horizontalAdvance(leftPart(text, at));
        p.drawLine(x, textArea.top() + 2, x, textArea.bottom() - 2);
    }
}

void ScreenPainter::paintRadioGroup(QPainter& p, const RadioGroup& c, bool focused) const {
    // The group stands on the screen's picture, its texts in a colour that
    // reads on it (the screens are mostly dark).
    const QColor text = readableTextColor(p, rectOf(c.bounds), c.enabled);
    QStyleOptionGroupBox frame;
    initOption(frame, styleSource_, c);
    useTextColor(frame, text);
    frame.text = withoutAccessKey(c.caption);
    frame.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    frame.textAlignment = Qt::AlignLeft;
    frame.textColor = text;
    if (c.caption.empty()) {
        QColor line = text;
        line.setAlpha(110);
        p.setPen(line);
        p.drawRect(frame.rect.adjusted(0, 0, -1, -1));
    } else {
        styleSource_.style()->drawComplexControl(QStyle::CC_GroupBox, &frame, &p, &styleSource_);
    }
    for (int i = 0; i < int(c.items.size()); ++i) {
        QStyleOptionButton radio;
        initOption(radio, styleSource_, c);
        useTextColor(radio, text);
        radio.rect = layout::radioItemRect(c, i);
        radio.text = withoutAccessKey(c.items[i]);
        radio.state |= i == c.itemIndex ? QStyle::State_On : QStyle::State_Off;
        // The keyboard stands on the chosen item, or on the first when none is.
        if (focused && i == std::max(c.itemIndex, 0)) radio.state |= QStyle::State_HasFocus;
        styleSource_.style()->drawControl(QStyle::CE_RadioButton, &radio, &p, &styleSource_);
    }
}

void ScreenPainter::paintComboBox(QPainter& p, const ComboBox& c) const {
    QStyleOptionComboBox box;
    initOption(box, styleSource_, c);
    box.currentText = qs(c.text());
    box.editable = false;
    box.frame = true;
    styleSource_.style()->drawComplexControl(QStyle::CC_ComboBox, &box, &p, &styleSource_);
    styleSource_.style()->drawControl(QStyle::CE_ComboBoxLabel, &box, &p, &styleSource_);
}

void ScreenPainter::paintPushButton(QPainter& p, const PushButton& c) const {
    QStyleOptionButton button;
    initOption(button, styleSource_, c);
    button.state |= QStyle::State_Raised;
    if (c.isDefault) button.features |= QStyleOptionButton::DefaultButton;
    if (c.faceColor) button.palette.setColor(QPalette::Button, QColor::fromRgb(QRgb(*c.faceColor)));
    styleSource_.style()->drawControl(QStyle::CE_PushButtonBevel, &button, &p, &styleSource_);
    // A caption longer than the button wraps onto more lines, in a smaller
    // font where the lines would not fit, instead of being cut off.
    const QRect area = rectOf(c.bounds).adjusted(4, 2, -4, -2);
    const QString text = withoutAccessKey(c.caption);
    constexpr int kFlags = Qt::AlignCenter | Qt::TextWordWrap;
    QFont font = p.font();
    font.setBold(c.bold);
    while (font.pointSizeF() > 6 &&
           QFontMetrics(font).boundingRect(area, kFlags, text).height() > area.height()) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    p.save();
    p.setFont(font);
    p.setPen(c.fontColor && c.enabled
                 ? QColor::fromRgb(QRgb(*c.fontColor))
                 : button.palette.color(c.enabled ? QPalette::Active : QPalette::Disabled,
                                        QPalette::ButtonText));
    p.drawText(area, kFlags, text);
    p.restore();
}

void ScreenPainter::paintCheckBox(QPainter& p, const CheckBox& c) const {
    QStyleOptionButton box;
    initOption(box, styleSource_, c);
    useTextColor(box, readableTextColor(p, box.rect, c.enabled));
    box.text = withoutAccessKey(c.caption);
    box.state |= c.checked ? QStyle::State_On : QStyle::State_Off;
    styleSource_.style()->drawControl(QStyle::CE_CheckBox, &box, &p, &styleSource_);
}

void ScreenPainter::paintStringGrid(QPainter& p, const StringGrid& c) const {
    const QRect area = rectOf(c.bounds);
    p.setClipRect(area);
    p.fillRect(area, Qt::white);
    const QColor fixed(224, 224, 224);
    for (int row = 0; row < c.rowCount(); ++row) {
        for (int col = 0; col < c.colCount(); ++col) {
            const QRect cell(area.left() + col * layout::kGridColWidth,
                             area.top() + row * layout::kGridRowHeight, layout::kGridColWidth,
                             layout::kGridRowHeight);
            if (cell.left() > area.right() || cell.top() > area.bottom()) continue;
            if (row == 0 || col == 0) p.fillRect(cell, fixed);
            p.setPen(QColor(160, 160, 160));
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            p.setPen(Qt::black);
            p.drawText(cell.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       qs(c.cell(col, row)));
        }
    }
}

void ScreenPainter::paintProgressBar(QPainter& p, const ProgressBar& c) const {
    QStyleOptionProgressBar bar;
    initOption(bar, styleSource_, c);
    bar.minimum = c.min;
    bar.maximum = c.max;
    bar.progress = c.position;
    bar.textVisible = false;
    bar.state |= QStyle::State_Horizontal;
    styleSource_.style()->drawControl(QStyle::CE_ProgressBar, &bar, &p, &styleSource_);
}

namespace layout {

QRect radioItemRect(const RadioGroup& group, int index) {
    const QRect area = rectOf(group.bounds);
    const int count = std::max(1, int(group.items.size()));
    // Without a caption the frame needs no room for one at the top.
    const int top = area.top() + (group.caption.empty() ? 4 : 18);
    const int room = area.bottom() - 4 - top;
    const int height = std::max(1, room / count);
    if (height >= kRadioMinItemHeight || count == 1)
        return {area.left() + 8, top + index * height, std::max(1, area.width() - 16), height};
    // A group too low to stack its items lays them side by side.
    const int width = std::max(1, (area.width() - 16) / count);
    return {area.left() + 8 + index * width, top, width, std::max(1, room)};
}

int radioItemAt(const RadioGroup& group, QPoint point) {
    for (int i = 0; i < int(group.items.size()); ++i)
        if (radioItemRect(group, i).contains(point)) return i;
    return -1;
}

int caretAt(const Edit& edit, const QWidget& styleSource, int x) {
    const QString text = qs(edit.text());
    const QFontMetrics metrics(styleSource.font());
    const int left = edit.bounds.left + kEditPadding;
    const int count = characterCount(text);
    for (int n = 0; n < count; ++n) {
        const int a = metrics.horizontalAdvance(leftPart(text, n));
        const int b = metrics.horizontalAdvance(leftPart(text, n + 1));
        if (x < left + (a + b) / 2) return n;
    }
    return count;
}

}  // namespace layout

Control* controlAt(const Screen& screen, QPoint point) {
    const auto& controls = screen.controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        Control* c = *it;
        if (c->visible && c->bounds.width > 0 && rectOf(c->bounds).contains(point)) return c;
    }
    return nullptr;
}

}  // namespace zor::ui::qt
