// The toolkit's value types: points, rectangles, colours, mouse and key state, and the
// three answers a view gives to a mouse event.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

using CCoord = double;

struct CPoint
{
    CCoord x = 0;
    CCoord y = 0;

    constexpr CPoint() = default;
    constexpr CPoint(CCoord x, CCoord y) : x(x), y(y) {}
    constexpr CPoint& offset(CCoord dx, CCoord dy)
    {
        x += dx;
        y += dy;
        return *this;
    }
    constexpr bool operator==(const CPoint&) const = default;
};

struct CRect
{
    CCoord left = 0;
    CCoord top = 0;
    CCoord right = 0;
    CCoord bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(CCoord left, CCoord top, CCoord right, CCoord bottom)
        : left(left), top(top), right(right), bottom(bottom)
    {
    }
    constexpr CRect(const CPoint& origin, const CPoint& size)
        : left(origin.x), top(origin.y), right(origin.x + size.x), bottom(origin.y + size.y)
    {
    }
    constexpr bool operator==(const CRect&) const = default;

    constexpr CCoord getWidth() const { return right - left; }
    constexpr CCoord getHeight() const { return bottom - top; }
    constexpr CCoord width() const { return right - left; }
    constexpr CCoord height() const { return bottom - top; }
    constexpr CPoint getTopLeft() const { return {left, top}; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }

    // Left and top edges are inside, right and bottom outside, as for pixels.
    constexpr bool pointInside(const CPoint& p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr bool rectOverlap(const CRect& r) const
    {
        return r.left < right && r.right > left && r.top < bottom && r.bottom > top;
    }
    constexpr CRect& offset(CCoord dx, CCoord dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
        return *this;
    }
    constexpr CRect& moveTo(const CPoint& p) { return offset(p.x - left, p.y - top); }
    // Intersection; an empty result when the two do not overlap.
    constexpr CRect& bound(const CRect& r)
    {
        left = std::max(left, r.left);
        top = std::max(top, r.top);
        right = std::max(left, std::min(right, r.right));
        bottom = std::max(top, std::min(bottom, r.bottom));
        return *this;
    }
    constexpr CRect& unite(const CRect& r)
    {
        if (isEmpty())
            return *this = r;
        if (!r.isEmpty())
        {
            left = std::min(left, r.left);
            top = std::min(top, r.top);
            right = std::max(right, r.right);
            bottom = std::max(bottom, r.bottom);
        }
        return *this;
    }
    // Out to whole pixels, so that a redraw covers every pixel the rectangle touches.
    CRect& makeIntegral()
    {
        left = std::floor(left);
        top = std::floor(top);
        right = std::ceil(right);
        bottom = std::ceil(bottom);
        return *this;
    }
};

struct CColor
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;
    constexpr bool operator==(const CColor&) const = default;
};

inline constexpr CColor kBlackCColor{0, 0, 0, 255};
inline constexpr CColor kWhiteCColor{255, 255, 255, 255};
inline constexpr CColor kGreyCColor{127, 127, 127, 255};
inline constexpr CColor kTransparentCColor{255, 255, 255, 0};

// Mouse buttons and modifier keys, as one bit set.
enum CButton : std::int32_t
{
    kLButton = 1 << 1,
    kMButton = 1 << 2,
    kRButton = 1 << 3,
    kShift = 1 << 4,
    kControl = 1 << 5, // Ctrl on Windows and Linux
    kAlt = 1 << 6,
    kApple = 1 << 7,
    kDoubleClick = 1 << 10,
};

class CButtonState
{
public:
    constexpr CButtonState(std::int32_t state = 0) : state(state) {}
    constexpr std::int32_t getButtonState() const
    {
        return state & (kLButton | kMButton | kRButton);
    }
    constexpr std::int32_t getModifierState() const
    {
        return state & (kShift | kControl | kAlt | kApple);
    }
    constexpr bool isLeftButton() const { return (state & kLButton) != 0; }
    constexpr bool isRightButton() const { return (state & kRButton) != 0; }
    constexpr bool isDoubleClick() const { return (state & kDoubleClick) != 0; }
    constexpr operator std::int32_t() const { return state; }
    constexpr bool operator==(const CButtonState&) const = default;

private:
    std::int32_t state;
};

enum CMouseEventResult
{
    kMouseEventNotImplemented = 0,
    kMouseEventHandled,
    kMouseEventNotHandled,
    // Handled, and the view wants neither the moves nor the release that follow.
    kMouseDownEventHandledButDontNeedMovedOrUpEvents,
};

// Keys, with the virtual key numbers of the VST 2.4 interface so that keys from the host
// pass through unchanged.
enum VirtualKey : std::uint8_t
{
    VKEY_BACK = 1,
    VKEY_TAB = 2,
    VKEY_RETURN = 4,
    VKEY_ESCAPE = 6,
    VKEY_SPACE = 7,
    VKEY_END = 9,
    VKEY_HOME = 10,
    VKEY_LEFT = 11,
    VKEY_UP = 12,
    VKEY_RIGHT = 13,
    VKEY_DOWN = 14,
    VKEY_PAGEUP = 15,
    VKEY_PAGEDOWN = 16,
    VKEY_ENTER = 19,
    VKEY_DELETE = 22,
};

enum KeyModifier : std::uint8_t
{
    kKeyShift = 1 << 0,
    kKeyAlternate = 1 << 1,
    kKeyCommand = 1 << 2,
    kKeyControl = 1 << 3,
};

struct CKeyCode
{
    std::int32_t character = 0; // a character, or 0 for a virtual key
    std::uint8_t virt = 0;      // VirtualKey
    std::uint8_t modifier = 0;  // KeyModifier bits
};

enum CHoriTxtAlign
{
    kLeftText = 0,
    kCenterText,
    kRightText,
};

enum CDrawStyle
{
    kDrawStroked = 0,
    kDrawFilled,
    kDrawFilledAndStroked,
};
