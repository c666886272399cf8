#pragma once
// The one interpreter of enhanced metafiles, for every output.
//
// The interpreter reads a picture record by record and keeps its drawing context:
// the object table with the pens, brushes and fonts the picture creates, what is
// selected, the saved states, the mapping (mode, window and viewport extents and
// origins, world transform), colours, background mode, fill mode, text alignment
// and the current position. Every drawing record goes to a device together with
// that context; the device turns it into its output (a PDF page, a painter).
//
// Where outputs must differ in the tracking itself (how many states may be saved,
// whether a broken reference ends the picture, which colours the stock brushes
// have, ...) the device says so in its Rules, in one place; every difference in
// drawing lives in the device's own methods.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "emf/reader.h"
#include "emf/records.h"

namespace zor::emf {

// A pen as the drawing context holds it.
struct PenObject {
    LogPen pen{pen_style::Solid, 0, rgb(0, 0, 0)};
    bool extended = false;  // made by an extended-pen record: its end caps and joins count
    bool created = false;   // made by the picture, not a stock pen or the context's default
};

// A world transform in double precision (x' = x m11 + y m21 + dx, y' = x m12 + y m22 + dy).
struct WorldTransform {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
};

// A font object of the picture. The id tells fonts apart for the caches of devices.
struct FontObject {
    LogFont description;
    std::uint64_t id = 0;
};

// The drawing-context state that the save and restore records keep. The defaults are
// those of a fresh drawing context: text mapping, black pen, white brush, black text.
struct DrawingState {
    Mapping mapping;
    std::optional<WorldTransform> worldTransform;  // none: the identity, never set
    PenObject pen;
    LogBrush brush{brush_style::Solid, rgb(255, 255, 255), 0};
    std::shared_ptr<const FontObject> font;  // none: the device's default font
    ColorRef textColor = rgb(0, 0, 0);
    ColorRef backgroundColor = rgb(255, 255, 255);
    std::uint32_t backgroundMode = bk_mode::Opaque;
    std::uint32_t textAlign = text_align::Top | text_align::Left;
    bool windingFill = false;  // polygon fill mode: winding, else alternate
    Point position;
};

// The reference device's pixels per 0.01 mm across and down, from the header's
// micrometre size when it has one, else from its millimetre size; 0 when it does not tell.
struct PixelsPerHimetric {
    double x = 0;
    double y = 0;
};
PixelsPerHimetric devicePixelsPerHimetric(const Header& header);

// Where the tracking of one output departs from the others.
struct Rules {
    // Saved states beyond this many are refused.
    std::size_t maxSavedStates = 1024;
    // Objects may take indices beyond the header's table size (up to 65536).
    bool growObjectTable = true;
    // The world transform is part of the saved state; otherwise a restore drops it.
    bool restoreKeepsWorldTransform = true;
    // The modify-world-transform record changes the transform; otherwise it is passed over.
    bool modifyWorldTransform = true;
    // Colours of the light and dark grey stock brushes.
    ColorRef lightGrayBrush = rgb(192, 192, 192);
    ColorRef darkGrayBrush = rgb(64, 64, 64);
    // Selecting a stock font returns to the default font; otherwise it is passed over.
    bool stockFontsSelectDefault = true;
    // Text drawn with the update-current-position alignment starts at the current
    // position and moves it; otherwise text always starts at its reference point.
    bool textUpdatesPosition = true;
};

// An output of the interpreter. Every method has a default that draws nothing.
class Device {
  public:
    virtual ~Device() = default;

    virtual const Rules& rules() const = 0;
    // A save beyond the limit, a restore without a saved state or an object index
    // outside the table: a device that cannot follow the picture then throws; when
    // it returns, the record is passed over.
    virtual void refuse(const std::string& reason);

    // Before the interpreter takes any record, the header included.
    virtual void beforeRecord(const Record&) {}
    virtual void header(const Header&) {}
    // After the mode, an extent, an origin, the world transform or a restore changed
    // the mapping.
    virtual void mappingChanged() {}

    // The current position is already the new one; it is where a path continues.
    virtual void moveTo(Point) {}
    // From the current position (still the old one) to the point.
    virtual void lineTo(Point) {}
    virtual void poly(const Poly&) {}
    virtual void ellipse(const Rect&) {}
    virtual void rectangle(const Rect&) {}
    virtual void roundRect(const Rect&, Size) {}
    virtual void bitBlt(const BitBlt&) {}
    virtual void stretchDIBits(const StretchDIBits&) {}
    // Draws the text starting at the reference point (the current position instead
    // when the alignment and rules say so) and returns its width in logical units.
    virtual double text(const ExtTextOutW&, Point) { return 0; }
    // Begin, end, abort and close of paths and their filling and stroking (rec::).
    virtual void pathRecord(std::uint32_t) {}

  protected:
    const DrawingState& dc() const { return *state_; }

  private:
    friend class Interpreter;
    const DrawingState* state_ = nullptr;
};

class Interpreter {
  public:
    explicit Interpreter(Device& device);
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // Passes every record of the reader, header first, through the drawing context to
    // the device. Data that breaks the format throw FormatError from the reader; what
    // the device throws passes through.
    void play(Reader& reader);

    void operator()(const Header&);
    void operator()(const SetMapMode& r) { changeMapping(&Mapping::mode, r.mode); }
    void operator()(const SetWindowExtEx& r) { changeMapping(&Mapping::windowExtent, r.extent); }
    void operator()(const SetWindowOrgEx& r) { changeMapping(&Mapping::windowOrigin, r.origin); }
    void operator()(const SetViewportExtEx& r) {
        changeMapping(&Mapping::viewportExtent, r.extent);
    }
    void operator()(const SetViewportOrgEx& r) {
        changeMapping(&Mapping::viewportOrigin, r.origin);
    }
    void operator()(const SetBkMode& r) { dc_.backgroundMode = r.mode; }
    void operator()(const SetTextAlign& r) { dc_.textAlign = r.mode; }
    void operator()(const SetTextColor& r) { dc_.textColor = r.color; }
    void operator()(const SetBkColor& r) { dc_.backgroundColor = r.color; }
    void operator()(const MoveToEx&);
    void operator()(const LineTo&);
    void operator()(const SaveDC&);
    void operator()(const RestoreDC&);
    void operator()(const SetWorldTransform&);
    void operator()(const ModifyWorldTransform&);
    void operator()(const SelectObject&);
    void operator()(const DeleteObject&);
    void operator()(const CreatePen&);
    void operator()(const CreateBrushIndirect&);
    void operator()(const ExtCreateFontIndirectW&);
    void operator()(const EllipseRecord& r) { device_.ellipse(r.box); }
    void operator()(const RectangleRecord& r) { device_.rectangle(r.box); }
    void operator()(const RoundRect& r) { device_.roundRect(r.box, r.corner); }
    void operator()(const Poly&);
    void operator()(const BitBlt& r) { device_.bitBlt(r); }
    void operator()(const StretchDIBits& r) { device_.stretchDIBits(r); }
    void operator()(const ExtTextOutW&);
    void operator()(const Eof&) {}
    void operator()(const UnknownRecord&);

  private:
    using Object = std::variant<std::monostate, PenObject, LogBrush,
                                std::shared_ptr<const FontObject>>;

    template <class T>
    void changeMapping(T Mapping::*field, const T& value) {
        dc_.mapping.*field = value;
        device_.mappingChanged();
    }
    // The table entry at index, or nullptr (after refusing) when there is none.
    Object* object(std::uint32_t index, bool creating);
    void selectStock(StockObject stock);

    Device& device_;
    const Rules& rules_;
    DrawingState dc_;
    std::vector<DrawingState> saved_;
    std::vector<Object> objects_;
    std::uint64_t nextFontId_ = 1;
};

}  // namespace zor::emf
