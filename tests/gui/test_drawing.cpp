// Software drawing: bitmaps, blending, rectangles and text give the same pixels every time;
// the resource table delivers every bitmap; screenshots round-trip through PNG.
#include "GuiTest.h"

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

int red(std::uint32_t pixel)
{
    return static_cast<int>((pixel >> 16) & 0xff);
}
int green(std::uint32_t pixel)
{
    return static_cast<int>((pixel >> 8) & 0xff);
}

struct Size
{
    std::int32_t id;
    int width;
    int height;
};
} // namespace

TEST(Resources, EveryBitmapOfTheTableLoadsWithItsSize)
{
    const Size sizes[] = {{128, 870, 101}, {129, 870, 101}, {130, 21, 40},   {131, 35, 3535},
                          {148, 36, 3636}, {146, 7, 903},   {153, 10, 1010}, {155, 15, 20},
                          {990, 17, 45},   {995, 30, 65},   {998, 24, 48},   {999, 24, 48}};
    for (const auto& size : sizes)
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
    bitmap->forget();
    EXPECT_EQ(target.at(2, 2), 0xff061e1eu); // image 3's border: red 2 * 3
    EXPECT_EQ(red(target.at(5, 5)), 6);
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
    background->forget();
    auto* knobs = new CBitmap(CResourceDescription(131));
    auto* knob = add(new CAnimKnob(CRect(10, 10, 45, 45), &listener, 0, 101, 35, knobs));
    knobs->forget();
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
    EXPECT_EQ(red(buffer.at(10, 10)), 100);    // knob frame 50
    EXPECT_EQ(buffer.at(0, 0), 0xff001e1eu);   // background border
    EXPECT_EQ(buffer.at(61, 61), 0xffbdcfdau); // display back colour
    EXPECT_EQ(buffer.at(60, 60), 0xff242420u); // display frame
    EXPECT_EQ(fingerprint(buffer), 0x0a54e3105dab3523ull) << std::hex << fingerprint(buffer);

    // Redrawing only the changed parts gives the same pixels as drawing everything.
    knob->setValue(0.25f);
    field->setText("Other");
    frame->idle();
    const auto partial = fingerprint(buffer);
    frame->drawAll();
    EXPECT_EQ(fingerprint(frame->getBuffer()), partial);
    EXPECT_EQ(red(buffer.at(10, 10)), 50); // frame 25
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
