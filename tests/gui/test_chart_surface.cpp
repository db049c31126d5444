// The drawing surfaces: logical coordinates, line widths and styles, clipping, persistence.
#include <gtest/gtest.h>

#include <QPixmap>

#include "gui/chart_surface.h"
#include "tests/gui/qt_support.h"

namespace tesmo::test {
namespace {

constexpr QRgb kWhiteRgb = 0xffffffff;
constexpr QRgb kBlackRgb = 0xff000000;
constexpr QRgb kRedRgb = 0xffff0000;

class Surface : public ::testing::Test {
  protected:
    Surface() : s((app(), QSize(661, 293)), 10500, 6000) {}
    qt::ChartSurface s;
    // Rows of one column that hold the colour.
    std::vector<int> rowsOf(const QImage& img, int x, QRgb colour) {
        std::vector<int> rows;
        for (int y = 0; y < img.height(); ++y)
            if (img.pixel(x, y) == colour) rows.push_back(y);
        return rows;
    }
};

TEST_F(Surface, InnerAreaMapsTheLogicalRangeFromTheTopLeft) {
    const QImage fresh = s.drawing();
    EXPECT_EQ(fresh.size(), QSize(659, 291));  // outer size less the one-pixel border
    s.line(0, 3000, 10500, 3000, kRed);
    const QImage img = s.drawing();
    EXPECT_EQ(rowsOf(img, 0, kRedRgb), std::vector<int>{145});    // 3000 / 6000 · 291 = 145.5
    EXPECT_EQ(rowsOf(img, 658, kRedRgb), std::vector<int>{145});  // reaches the right edge
    EXPECT_EQ(s.toWidget(0, 0), QPointF(1, 1));
    EXPECT_EQ(s.toWidget(10500, 6000), QPointF(660, 292));
}

TEST_F(Surface, LineWidthsAreInPixelsAndStylesDiffer) {
    s.setLineWidth(3);
    s.line(1000, 1000, 1000, 5000, kBlack);  // vertical, three pixels wide
    s.setLineWidth(2);
    s.line(0, 500, 10500, 3000, kBlack);  // slanted
    s.setLineWidth(1);
    s.line(3000, 0, 3000, 6000, kBlack);
    s.setLineStyle(LineStyle::DashDotDot);
    s.line(6000, 0, 6000, 6000, kBlack);
    const QImage img = s.drawing();
    const int y = 150;
    int wide = 0;
    for (int x = 55; x < 70; ++x)
        wide += img.pixel(x, y) == kBlackRgb;
    EXPECT_EQ(wide, 3);
    // The solid line is unbroken; the dash-dot-dot line has gaps and more than one dash.
    const int solidX = 3000 * 659 / 10500, dashX = 6000 * 659 / 10500;
    EXPECT_EQ(rowsOf(img, solidX, kBlackRgb).size(), 291u);
    const auto dashed = rowsOf(img, dashX, kBlackRgb);
    EXPECT_GT(dashed.size(), 100u);
    EXPECT_LT(dashed.size(), 250u);
}

TEST_F(Surface, WhatLiesOutsideIsClippedAndBoxesIncludeTheirCorners) {
    s.setLineWidth(3);
    s.line(-5000, -100, 20000, 9000, kRed);  // far beyond every edge
    s.line(10500 + 1050, 200, 10500 + 2100, 300, kRed);
    s.fillBox(0, 0, 10530, 6030, kWhite);
    for (QRgb p : {s.drawing().pixel(0, 0), s.drawing().pixel(658, 290)})
        EXPECT_EQ(p, kWhiteRgb);
    s.fillBox(0, 0, 10500, 5000, kBlack);
    const QImage img = s.drawing();
    EXPECT_EQ(img.pixel(0, 0), kBlackRgb);
    EXPECT_EQ(img.pixel(658, 5000 * 291 / 6000), kBlackRgb);  // the bottom corner included
    EXPECT_EQ(img.pixel(658, 5000 * 291 / 6000 + 1), kWhiteRgb);
    EXPECT_EQ(img.pixel(300, 290), kWhiteRgb);  // the bottom sixth stays
}

TEST_F(Surface, TheDrawingSurvivesBeingPaintedAgain) {
    s.setLineWidth(1);
    s.line(0, 3000, 10500, 3000, kRed);
    s.refresh();
    s.present();
    s.show();
    (void)QTest::qWaitForWindowExposed(&s);
    s.hide();
    s.show();
    const QImage shown = s.grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(0, 0)), QColor(Qt::black));  // the flat border
    EXPECT_EQ(QColor(shown.pixel(1, 1)), QColor(Qt::white));
    EXPECT_EQ(QColor(shown.pixel(330, 146)), QColor(Qt::red));  // 1 + 145
}

}  // namespace
}  // namespace tesmo::test
