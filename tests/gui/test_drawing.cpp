// Software drawing: bitmaps, blending, rectangles and text give the same pixels every time;
// the resource table delivers every bitmap; screenshots round-trip through PNG.
#include "GuiTest.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{
std::uint64_t fingerprint(const PixelBuffer& buffer)
{
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (const auto pixel : buffer.pixels)
        for (int shift = 0; shift < 32; shift += 8)
        {
            hash ^= (pixel >> shift) & 0xffu;
            hash *= 1099511628211ull;
        }
    return hash;
}

int alpha(std::uint32_t pixel)
{
    return static_cast<int>(pixel >> 24);
}
int green(std::uint32_t pixel)
{
    return static_cast<int>((pixel >> 8) & 0xff);
}

// Every bitmap resource with the size and number of frames the editor relies on.
struct Size
{
    std::int32_t id;
    int width;
    int height;
    int frames;
};
constexpr Size kBitmaps[] = {
    {128, 870, 101, 1},   {129, 870, 101, 1},   {130, 21, 40, 2},     {131, 35, 3535, 101},
    {132, 35, 3535, 101}, {133, 35, 3535, 101}, {134, 21, 52, 2},     {135, 21, 52, 2},
    {136, 35, 3535, 101}, {137, 22, 52, 2},     {138, 26, 52, 2},     {139, 26, 52, 2},
    {140, 14, 240, 12},   {141, 14, 240, 12},   {142, 15, 240, 12},   {143, 14, 240, 12},
    {144, 16, 256, 8},    {145, 11, 22, 2},     {146, 7, 903, 21},    {147, 23, 52, 2},
    {148, 36, 3636, 101}, {149, 35, 3535, 101}, {150, 36, 3636, 101}, {151, 36, 3636, 101},
    {152, 22, 40, 2},     {153, 10, 1010, 101}, {154, 12, 25, 1},     {155, 15, 20, 2},
    {990, 17, 45, 3},     {991, 17, 45, 3},     {992, 32, 39, 3},     {993, 44, 39, 3},
    {994, 28, 39, 3},     {995, 30, 65, 5},     {998, 24, 48, 3},     {999, 24, 48, 3}};

// Whether drawing left frame k of a filmstrip in rect: every opaque pixel of the frame
// is there. The frames of a filmstrip differ, so exactly one should match.
bool shows(const PixelBuffer& target, const CRect& rect, const CBitmap& strip, int frameHeight,
           int k)
{
    const auto left = static_cast<int>(rect.left);
    const auto top = static_cast<int>(rect.top);
    for (int y = 0; y < frameHeight; ++y)
        for (int x = 0; x < static_cast<int>(strip.getWidth()); ++x)
        {
            const auto pixel = strip.pixels().at(x, k * frameHeight + y);
            if (alpha(pixel) == 255 && target.at(left + x, top + y) != pixel)
                return false;
        }
    return true;
}

std::vector<int> framesShown(const PixelBuffer& target, const CRect& rect, const CBitmap& strip,
                             int frameHeight)
{
    std::vector<int> found;
    for (int k = 0; k < static_cast<int>(strip.getHeight()) / frameHeight; ++k)
        if (shows(target, rect, strip, frameHeight, k))
            found.push_back(k);
    return found;
}
} // namespace

TEST(Resources, EveryBitmapOfTheTableLoadsWithItsSize)
{
    for (const auto& size : kBitmaps)
    {
        auto* bitmap = new CBitmap(CResourceDescription(size.id));
        EXPECT_TRUE(bitmap->isLoaded()) << size.id;
        EXPECT_EQ(bitmap->getWidth(), size.width) << size.id;
        EXPECT_EQ(bitmap->getHeight(), size.height) << size.id;
        EXPECT_EQ(bitmap->getResourceId(), size.id);
        bitmap->forget();
    }
    auto* missing = new CBitmap(CResourceDescription(4242));
    EXPECT_FALSE(missing->isLoaded());
    missing->forget();
}

// A control shows its state only if its frames differ: each frame from the one before it.
// The panel and the about screen are opaque: nothing is drawn beneath them.
TEST(Resources, FilmstripFramesDifferAndBackgroundsAreOpaque)
{
    for (const auto& size : kBitmaps)
    {
        auto* bitmap = new CBitmap(CResourceDescription(size.id));
        ASSERT_TRUE(bitmap->isLoaded()) << size.id;
        const auto& pixels = bitmap->pixels().pixels;
        const auto frameSize = pixels.size() / static_cast<std::size_t>(size.frames);
        for (int k = 1; k < size.frames; ++k)
        {
            const auto previous = pixels.begin() + static_cast<std::ptrdiff_t>((k - 1) * frameSize);
            const auto current = previous + static_cast<std::ptrdiff_t>(frameSize);
            EXPECT_FALSE(std::equal(previous, current, current)) << size.id << " frame " << k;
        }
        if (size.frames == 1 && size.width == 870)
        {
            EXPECT_TRUE(bitmap->isOpaque()) << size.id;
        }
        bitmap->forget();
    }
}

TEST(DrawContext, BitmapsBlendWithTheirAlphaAndTheGlobalAlphaExactly)
{
    PixelBuffer target(4, 1, 0xff000000u);
    CDrawContext context(target);
    auto* bitmap = new CBitmap(2, 1);
    bitmap->pixels().pixels = {0x80ffffffu, 0xff204060u};
    bitmap->updateOpacity();
    context.drawBitmap(bitmap, CRect(0, 0, 2, 1));
    EXPECT_EQ(target.at(0, 0), 0xff808080u); // 128/255 of white over black
    EXPECT_EQ(target.at(1, 0), 0xff204060u);
    context.drawBitmap(bitmap, CRect(2, 0, 4, 1), CPoint(0, 0), 0.5f);
    EXPECT_EQ(target.at(2, 0), 0xff404040u); // 0.5 * 128/255
    EXPECT_EQ(target.at(3, 0), 0xff102030u);
    bitmap->forget();
}

TEST(DrawContext, DrawingStaysInsideTheClipAndTheDestination)
{
    PixelBuffer target(20, 20, 0xff000000u);
    CDrawContext context(target);
    auto* bitmap = new CBitmap(CResourceDescription(995)); // 30 x 65: 5 images of 13
    context.setClipRect(CRect(0, 0, 10, 20));
    context.drawBitmap(bitmap, CRect(2, 2, 32, 15), CPoint(0, 13 * 3)); // image 3
    // Image 3 where it is opaque, black where it is clear; image 0 would differ.
    int opaque = 0;
    bool differsFromImage0 = false;
    for (int y = 2; y < 15; ++y)
        for (int x = 2; x < 10; ++x)
        {
            const auto pixel = bitmap->pixels().at(x - 2, 13 * 3 + y - 2);
            if (alpha(pixel) == 255)
            {
                ++opaque;
                EXPECT_EQ(target.at(x, y), pixel) << x << ", " << y;
                differsFromImage0 = differsFromImage0 || pixel != bitmap->pixels().at(x - 2, y - 2);
            }
            else if (alpha(pixel) == 0)
            {
                EXPECT_EQ(target.at(x, y), 0xff000000u) << x << ", " << y;
            }
        }
    EXPECT_GT(opaque, 40);
    EXPECT_TRUE(differsFromImage0);
    bitmap->forget();
    EXPECT_EQ(target.at(10, 5), 0xff000000u); // clipped
    EXPECT_EQ(target.at(5, 15), 0xff000000u); // below the destination
    EXPECT_EQ(target.at(1, 1), 0xff000000u);

    context.resetClipRect();
    context.setFrameColor(CColor{255, 0, 0, 255});
    context.setFillColor(CColor{0, 0, 255, 255});
    context.drawRect(CRect(12, 12, 16, 16), kDrawFilledAndStroked);
    EXPECT_EQ(target.at(12, 12), 0xffff0000u);
    EXPECT_EQ(target.at(15, 15), 0xffff0000u);
    EXPECT_EQ(target.at(13, 13), 0xff0000ffu);
    EXPECT_EQ(target.at(16, 16), 0xff000000u);
}

TEST(DrawContext, TextIsPlacedByAlignmentAndClippedToItsRectangle)
{
    PixelBuffer target(100, 20, 0xff000000u);
    CDrawContext context(target);
    context.setFont(kNormalFont, 11);
    context.setFontColor(kWhiteCColor);
    const CCoord width = context.getStringWidth("v.1.6.0");
    EXPECT_GT(width, 25);
    EXPECT_LT(width, 45);

    context.drawString("v.1.6.0", CRect(10, 2, 110, 17), kLeftText, true);
    int minX = 100, maxX = -1, minY = 20, maxY = -1;
    bool partial = false;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x)
            if (green(target.at(x, y)) > 0)
            {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
                partial = partial || green(target.at(x, y)) < 255;
            }
    EXPECT_GE(minX, 10);
    EXPECT_LE(minX, 11);
    EXPECT_LE(maxX, 10 + width);
    EXPECT_GE(minY, 2);
    EXPECT_LE(maxY, 16);
    EXPECT_TRUE(partial) << "antialiased edges";

    PixelBuffer centred(100, 20, 0xff000000u);
    CDrawContext centre(centred);
    centre.setFont(kNormalFont);
    centre.drawString("Init", CRect(0, 0, 100, 20), kCenterText, false);
    int left = 100, right = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x)
        {
            const int g = green(centred.at(x, y));
            EXPECT_TRUE(g == 0 || g == 255) << "not antialiased";
            if (g)
            {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    EXPECT_NEAR(left, 99 - right, 2);

    PixelBuffer narrow(100, 20, 0xff000000u);
    CDrawContext clip(narrow);
    clip.drawString("WWWWWWWWWW", CRect(0, 0, 20, 20), kLeftText);
    for (int y = 0; y < 20; ++y)
        for (int x = 20; x < 100; ++x)
            ASSERT_EQ(narrow.at(x, y), 0xff000000u);
}

// A frame with a background, controls and text, drawn offscreen: the fingerprint pins
// every pixel, so any change in drawing shows here first.
TEST_F(FrameTest, ATestFrameRendersPixelExact)
{
    auto* background = new CBitmap(CResourceDescription(128));
    frame->setBackground(background);
    background->forget(); // the frame keeps it
    auto* knobs = new CBitmap(CResourceDescription(131));
    const CRect knobRect(10, 10, 45, 45);
    auto* knob = add(new CAnimKnob(knobRect, &listener, 0, 101, 35, knobs));
    knob->setValue(0.5f);
    auto* display = add(new CParamDisplay(CRect(60, 60, 150, 72)));
    display->setFontColor(CColor{36, 36, 32, 255});
    display->setBackColor(CColor{189, 207, 218, 255});
    display->setFrameColor(CColor{36, 36, 32, 255});
    display->setValue(0.75f);
    auto* field = add(new CTextEdit(CRect(60, 80, 170, 95), &listener, 33, "Long Delay 2"));
    field->setFontColor(kWhiteCColor);
    field->setStyle(kNoFrame | kTransparentStyle);
    field->setHoriAlign(kLeftText);
    frame->idle();

    const PixelBuffer& buffer = frame->getBuffer();
    // To look at it: TARVA_GUI_SCREENSHOTS=folder.
    if (const char* folder = std::getenv("TARVA_GUI_SCREENSHOTS"))
        gui::writePng(buffer, (std::string(folder) + "/test-frame.png").c_str());
    EXPECT_EQ(framesShown(buffer, knobRect, *knobs, 35), std::vector<int>{50});
    EXPECT_EQ(buffer.at(0, 0), background->pixels().at(0, 0));
    EXPECT_EQ(buffer.at(150, 5), background->pixels().at(150, 5));
    EXPECT_EQ(buffer.at(61, 61), 0xffbdcfdau); // display back colour
    EXPECT_EQ(buffer.at(60, 60), 0xff242420u); // display frame
    EXPECT_EQ(fingerprint(buffer), 0x9d6a41896002a20cull) << std::hex << fingerprint(buffer);

    // Redrawing only the changed parts gives the same pixels as drawing everything.
    knob->setValue(0.25f);
    field->setText("Other");
    frame->idle();
    const auto partial = fingerprint(buffer);
    frame->drawAll();
    EXPECT_EQ(fingerprint(frame->getBuffer()), partial);
    EXPECT_EQ(framesShown(buffer, knobRect, *knobs, 35), std::vector<int>{25});
    knobs->forget();
}

TEST(Png, AScreenshotRoundTrips)
{
    PixelBuffer image(3, 2);
    image.pixels = {0xff000000u, 0xffff0000u, 0xff00ff00u, 0xff0000ffu, 0xffffffffu, 0xff123456u};
    const auto path = std::filesystem::temp_directory_path() / "tarva-gui-roundtrip.png";
    ASSERT_TRUE(gui::writePng(image, path.string().c_str()));
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    auto* bitmap = CBitmap::fromEncoded(bytes.data(), bytes.size());
    ASSERT_TRUE(bitmap->isLoaded());
    EXPECT_EQ(bitmap->pixels().pixels, image.pixels);
    EXPECT_TRUE(bitmap->isOpaque());
    bitmap->forget();
}
