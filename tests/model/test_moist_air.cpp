#include <gtest/gtest.h>

#include "model/moist_air.h"

namespace tesmo {

TEST(FeuchteLuft, SaturationPressureAndLatentHeat) {
    EXPECT_DOUBLE_EQ(Saettigungsdruck(0), 0.0061078);
    EXPECT_NEAR(Saettigungsdruck(20), 0.0234200, 5e-8);
    EXPECT_NEAR(Saettigungsdruck(35), 0.0562911, 5e-8);
    EXPECT_NEAR(Saettigungsdruck(100), 1.01325, 5e-6);
    EXPECT_DOUBLE_EQ(Verdampfungswaerme(0), 2500);
    EXPECT_DOUBLE_EQ(Verdampfungswaerme(30), 2430.4);
    EXPECT_DOUBLE_EQ(Verdampfungswaerme(100), 2268);
    // Saturated air has the relative humidity 1 (a fraction, not per cent).
    const double ps = Saettigungsdruck(35);
    EXPECT_NEAR(relFeuchte(0.622 * ps / (1 - ps), 35), 1.0, 1e-12);
}

TEST(FeuchteLuft, WetBulbOfTheDefaultExhaustAir) {
    const double p = 0.7 * Saettigungsdruck(35);
    const double X = 0.622 * p / (1 - p);
    EXPECT_NEAR(X, 0.0255145, 5e-8);

    int halbierungen = 0;
    const double thetaKG = Kuehlgrenztemperatur(35, X, &halbierungen);
    EXPECT_NEAR(thetaKG, 30.0373, 5e-5);
    EXPECT_EQ(halbierungen, 18);
    // The balance run forward gives the water load back to within the search's 1e-7.
    const double XKG = XausKuehlgrenze(35, thetaKG);
    EXPECT_NEAR(XKG, X, 1e-7);
    EXPECT_NEAR(relFeuchte(XKG, 35), 0.699999, 5e-7);
    EXPECT_NEAR(pDampfAusKuehlgrenze(35, thetaKG), 0.0394036, 5e-8);
    // The two balances differ only in c_w: the pressure form is close to, not equal to,
    // X/(X+0.622).
    EXPECT_NE(pDampfAusKuehlgrenze(35, thetaKG), XKG / (XKG + 0.622));
    EXPECT_NEAR(pDampfAusKuehlgrenze(35, thetaKG), XKG / (XKG + 0.622), 1e-6);
}

TEST(FeuchteLuft, WetBulbSearchAtItsEdges) {
    EXPECT_NEAR(XausKuehlgrenze(35, 0), -0.0099875, 5e-8);
    int n = 0;
    EXPECT_NEAR(Kuehlgrenztemperatur(35, 0, &n), 12.4908, 5e-5);
    EXPECT_EQ(n, 15);
    // A wet-bulb temperature above the air temperature is returned without complaint.
    EXPECT_NEAR(Kuehlgrenztemperatur(35, 0.2), 62.97, 5e-3);
    // Air too dry for any wet-bulb temperature in 0..100 °C: all 1001 evaluations, about 0 °C.
    EXPECT_NEAR(Kuehlgrenztemperatur(-10, 0, &n), 0.0, 1e-12);
    EXPECT_EQ(n, 1001);
    // Without the counter the result is the same.
    EXPECT_EQ(Kuehlgrenztemperatur(35, 0), Kuehlgrenztemperatur(35, 0, &n));
}

}  // namespace tesmo
