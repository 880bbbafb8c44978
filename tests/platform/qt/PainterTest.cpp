// Drawing with the Qt painter: where text lands, its colour and background,
// font sizes from points, and the picture copy.
#include "FontFaces.h"
#include "QtPainter.h"
#include "ResourceIds.h"
#include "ResourceImages.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QTest>

namespace lumivar::test {
namespace {

QImage Canvas(QSize size, QColor fill) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// The smallest rectangle holding every pixel that is not `background`.
QRect Ink(const QImage& image, QColor background) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != background)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// The countdown's first line, on a transparent background.
void DrawNoticeText(QImage& image, ui::ColorRef colour, int x, int y) {
    qt::QtPainter painter(image, 96);
    painter.SetTransparentBackground();
    painter.SetTextColor(colour);
    painter.SelectFont("黑体", 150);
    painter.DrawText(x, y, "系统即将关机");
}

bool HasPixel(const QImage& image, QColor colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

} // namespace

class PainterTest : public QObject {
    Q_OBJECT

private slots:
    void fontsConvertPointsToPixels();
    void windowsFacesMapToInstalledFonts();
    void textHangsFromItsTopLeftCorner();
    void textColourIsTheColorRefsRedGreenBlue();
    void backgroundIsOpaqueUntilMadeTransparent();
    void pictureIsCopiedUnscaledAndClipped();
    void iconIsDrawnAtItsSystemSize();
};

void PainterTest::fontsConvertPointsToPixels() {
    // Painted fonts round down; dialog fonts round to the nearest pixel.
    QCOMPARE(qt::PointFont("黑体", 150, 96).pixelSize(), 20);
    QCOMPARE(qt::PointFont("宋体", 100, 96).pixelSize(), 13);
    QCOMPARE(qt::PointFont("宋体", 100, 120).pixelSize(), 16);
    QCOMPARE(qt::DialogFont("宋体", 9, 96).pixelSize(), 12);
    QCOMPARE(qt::DialogFont("Tahoma", 8, 96).pixelSize(), 11);
    QCOMPARE(qt::DialogFont("Tahoma", 10, 96).pixelSize(), 13);
}

void PainterTest::windowsFacesMapToInstalledFonts() {
    for (const char* face : {"宋体", "黑体"}) {
        const QString family = QFontInfo(qt::PointFont(face, 90, 96)).family();
        QVERIFY2(QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese),
                 qPrintable(family));
    }
    QVERIFY(
        QFontDatabase::families().contains(QFontInfo(qt::PointFont("Tahoma", 100, 96)).family()));
    QCOMPARE(qt::MapFontFace("DejaVu Sans"), QStringLiteral("DejaVu Sans"));
}

void PainterTest::textHangsFromItsTopLeftCorner() {
    QImage image = Canvas({300, 80}, Qt::black);
    DrawNoticeText(image, 0x00FFFFFF, 10, 30);
    const QRect ink = Ink(image, Qt::black);
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.left() >= 10 && ink.left() <= 13);
    // The glyphs start just below y, inside the line's cell, not above it.
    QVERIFY2(ink.top() >= 30 && ink.top() <= 36, qPrintable(QString::number(ink.top())));
    QVERIFY(ink.bottom() < 30 + QFontMetrics(qt::PointFont("黑体", 150, 96)).height());
}

void PainterTest::textColourIsTheColorRefsRedGreenBlue() {
    QImage image = Canvas({300, 60}, Qt::black);
    DrawNoticeText(image, 0x00A6389F, 0, 0);
    QVERIFY(HasPixel(image, QColor(159, 56, 166)));
    QVERIFY(!HasPixel(image, QColor(166, 56, 159)));
}

void PainterTest::backgroundIsOpaqueUntilMadeTransparent() {
    const QColor fill(0, 0, 255);
    QImage opaque = Canvas({200, 40}, fill);
    {
        qt::QtPainter painter(opaque, 96);
        painter.SelectFont("宋体", 100);
        painter.DrawText(5, 5, "  x");
    }
    QCOMPARE(opaque.pixelColor(7, 7), QColor(Qt::white)); // a device context's default
    QImage transparent = Canvas({200, 40}, fill);
    {
        qt::QtPainter painter(transparent, 96);
        painter.SetTransparentBackground();
        painter.SelectFont("宋体", 100);
        painter.DrawText(5, 5, "  x");
    }
    QCOMPARE(transparent.pixelColor(7, 7), fill);
}

void PainterTest::pictureIsCopiedUnscaledAndClipped() {
    const QImage picture = qt::LoadBitmapResource(IDB_NOTICE).toImage();
    QCOMPARE(picture.size(), QSize(313, 198));

    const QColor fill(1, 2, 3);
    QImage large = Canvas({400, 250}, fill);
    {
        qt::QtPainter painter(large, 96);
        painter.CopyBitmap(IDB_NOTICE, 0, 0, 400, 250);
    }
    for (const QPoint at : {QPoint(0, 0), QPoint(312, 197), QPoint(150, 100)})
        QCOMPARE(large.pixel(at), picture.pixel(at));
    QCOMPARE(large.pixelColor(350, 100), fill); // beyond the picture nothing is drawn
    QCOMPARE(large.pixelColor(100, 220), fill);

    QImage small = Canvas({100, 50}, fill);
    {
        qt::QtPainter painter(small, 96);
        painter.CopyBitmap(IDB_NOTICE, 0, 0, 100, 50);
    }
    QCOMPARE(small.pixel(99, 49), picture.pixel(99, 49));
}

void PainterTest::iconIsDrawnAtItsSystemSize() {
    const QColor fill(1, 2, 3);
    QImage image = Canvas({80, 80}, fill);
    {
        qt::QtPainter painter(image, 96);
        painter.DrawIcon(10, 20, IDI_LUMIVAR);
    }
    const QRect ink = Ink(image, fill);
    QVERIFY(!ink.isEmpty());
    QVERIFY(QRect(10, 20, 32, 32).contains(ink));
    QVERIFY(ink.width() > 16 && ink.height() > 16); // the 32-pixel picture, not the 16
}

} // namespace lumivar::test

QTEST_MAIN(lumivar::test::PainterTest)
#include "PainterTest.moc"
