// Icons made from icon data in memory.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/graphics/BuiltinIcons.h"
#include "base/graphics/TAIco.h"
#include "framework/windows/Forms.h"

TEST(TAIco, SelectsImagesAndMakesIconsWithoutTouchingTheData)
{
    const std::vector<uint8_t> &data = BuiltinIcon(IconWarning);
    const std::vector<uint8_t> before = data;
    TAIco icon(data);
    EXPECT_EQ(2, icon.ImageCount());
    EXPECT_EQ(0, icon.ImageIndex());
    EXPECT_EQ(32, icon.Image().Width);
    EXPECT_EQ(32, icon.Image().Height);
    EXPECT_EQ(32, icon.Image().Depth);
    EXPECT_FALSE(icon.Icon().Empty());
    EXPECT_EQ(32, icon.Icon().Width());
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), icon.SystemIconWidth());

    ASSERT_TRUE(icon.SelectImage(1));
    EXPECT_EQ(16, icon.Icon().Width());
    std::unique_ptr<TIcon> own = icon.MakeIcon(false), large = icon.MakeIcon(true);
    ASSERT_TRUE(own && large);
    EXPECT_EQ(16, own->Width());
    EXPECT_EQ(icon.SystemIconWidth(), large->Width());
    EXPECT_NE(own->Handle(), icon.Icon().Handle());

    EXPECT_FALSE(icon.SelectImage(2));
    EXPECT_EQ(-1, icon.ImageIndex());
    EXPECT_TRUE(icon.Icon().Empty());
    EXPECT_EQ(nullptr, icon.MakeIcon(false));
    EXPECT_EQ(before, data);

    // Other data, and none.
    icon.SetData(BuiltinIcon(IconChoice).data(), BuiltinIcon(IconChoice).size());
    EXPECT_EQ(1, icon.ImageCount());
    EXPECT_EQ(16, icon.Image().Width);
    icon.SetData(nullptr, 0);
    EXPECT_EQ(0, icon.ImageCount());
    EXPECT_EQ(-1, icon.ImageIndex());
    TAIco empty;
    empty.Draw(0, 0);  // no window, no icon: nothing happens
}

TEST(TAIco, DrawsIntoAWindow)
{
    TForm form(nullptr);
    form.SetBounds(100, 100, 200, 150);
    form.SetColor(clWhite);
    form.Show();
    TAIco icon(BuiltinIcon(IconError));
    icon.SetWindow(&form);
    icon.Draw(10, 10);
    icon.Draw(60, 10, 48, 48);
    icon.Draw(&form, 120, 10);
    TControlCanvas canvas(&form);
    // The centre of each drawn icon carries the error icon's red, the space between them stays white.
    auto isRed = [](TColor c) { return (c & 0xFF) > 0xA0 && ((c >> 8) & 0xFF) < 0x60; };
    EXPECT_TRUE(isRed(canvas.Pixel(10 + 16, 10 + 8))) << std::hex << canvas.Pixel(26, 18);
    EXPECT_TRUE(isRed(canvas.Pixel(60 + 24, 10 + 10)));
    EXPECT_TRUE(isRed(canvas.Pixel(120 + 16, 10 + 8)));
    EXPECT_EQ(clWhite, canvas.Pixel(10 + 40, 30));
    form.Hide();
}
