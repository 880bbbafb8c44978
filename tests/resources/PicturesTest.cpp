// The committed pictures: the formats the Windows resources need, decoded by
// Qt as the Linux program will, and readable under the texts painted on them.
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Le(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value =
            (value << 8) | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
    return value;
}

double Luminance(QRgb colour) {
    const auto linear = [](int channel) {
        const double s = channel / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(colour)) + 0.7152 * linear(qGreen(colour)) +
           0.0722 * linear(qBlue(colour));
}

/// The lowest contrast ratio of text in `text` over the pixels of a box.
double LowestContrast(const QImage& image, QRect box, QRgb text) {
    double lowest = 21;
    const double lt = Luminance(text);
    box = box.intersected(image.rect());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const double lb = Luminance(image.pixel(x, y));
            lowest = std::min(lowest, (std::max(lt, lb) + 0.05) / (std::min(lt, lb) + 0.05));
        }
    }
    return lowest;
}

TEST(NoticeBitmap, Is313By198EightBitRle8At96Dpi) {
    const std::string bytes = ReadFile(LUMIVAR_NOTICE_BITMAP);
    ASSERT_GT(bytes.size(), 54u + 1024u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(Le(bytes, 2, 4), bytes.size());
    EXPECT_EQ(Le(bytes, 18, 4), 313u);
    EXPECT_EQ(Le(bytes, 22, 4), 198u); // positive: bottom-up, as RLE requires
    EXPECT_EQ(Le(bytes, 28, 2), 8u);
    EXPECT_EQ(Le(bytes, 30, 4), 1u); // BI_RLE8
    EXPECT_EQ(Le(bytes, 34, 4), bytes.size() - Le(bytes, 10, 4));
    EXPECT_EQ(Le(bytes, 38, 4), 3779u);
    EXPECT_EQ(Le(bytes, 42, 4), 3779u);
    EXPECT_EQ(Le(bytes, 46, 4), 256u);

    const QImage image(LUMIVAR_NOTICE_BITMAP);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(313, 198));
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.colorCount(), 256);
}

TEST(NoticeBitmap, PaintedTextsReadWellOnIt) {
    // Where the countdown window paints its texts (20- and 13-pixel fonts),
    // with room for the longest wording; WCAG's 4.5:1 for normal text.
    const QImage image(LUMIVAR_NOTICE_BITMAP);
    ASSERT_FALSE(image.isNull());
    const QRgb purple = qRgb(159, 56, 166);
    const QRgb white = qRgb(255, 255, 255);
    struct Text {
        const char* what;
        QRect box;
        QRgb colour;
    };
    const Text texts[] = {
        {"warning", QRect(20, 80, 280, 22), purple},
        {"countdown", QRect(100, 120, 120, 15), purple},
        {"key hint", QRect(13, 16, 90, 15), white},
        {"credit", QRect(210, 180, 103, 15), white},
    };
    for (const Text& text : texts)
        EXPECT_GE(LowestContrast(image, text.box, text.colour), 4.5) << text.what;
}

TEST(Icon, TwoSixteenColourImagesWithMask) {
    const std::string bytes = ReadFile(LUMIVAR_ICON_FILE);
    ASSERT_GE(bytes.size(), 6u + 2 * 16u);
    EXPECT_EQ(Le(bytes, 0, 2), 0u);
    EXPECT_EQ(Le(bytes, 2, 2), 1u); // icon, not cursor
    ASSERT_EQ(Le(bytes, 4, 2), 2u);
    const int sizes[] = {32, 16};
    for (std::size_t i = 0; i < 2; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const auto size = static_cast<std::uint32_t>(sizes[i]);
        EXPECT_EQ(Le(bytes, entry, 1), size);
        EXPECT_EQ(Le(bytes, entry + 1, 1), size);
        EXPECT_EQ(Le(bytes, entry + 2, 1), 16u);
        EXPECT_EQ(Le(bytes, entry + 4, 2), 1u); // planes
        EXPECT_EQ(Le(bytes, entry + 6, 2), 4u); // bits per pixel
        const std::uint32_t length = Le(bytes, entry + 8, 4);
        const std::uint32_t offset = Le(bytes, entry + 12, 4);
        ASSERT_LE(offset + length, bytes.size());
        // Colour rows and the AND mask, each row padded to four bytes.
        const std::uint32_t rowBytes = (size / 2 + 3) / 4 * 4;
        const std::uint32_t maskBytes = (size / 8 + 3) / 4 * 4;
        EXPECT_EQ(length, 40 + 16 * 4 + size * (rowBytes + maskBytes));
        EXPECT_EQ(Le(bytes, offset + 8, 4), 2 * size); // colour and mask heights
        EXPECT_EQ(Le(bytes, offset + 14, 2), 4u);
    }

    QImageReader reader(LUMIVAR_ICON_FILE);
    ASSERT_EQ(reader.imageCount(), 2);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(image.width(), sizes[i]);
        // A round badge: transparent corners, opaque middle.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << sizes[i];
        EXPECT_EQ(qAlpha(image.pixel(sizes[i] - 1, sizes[i] - 1)), 0) << sizes[i];
        EXPECT_EQ(qAlpha(image.pixel(sizes[i] / 2, sizes[i] - 3)), 255) << sizes[i];
    }
}

} // namespace
