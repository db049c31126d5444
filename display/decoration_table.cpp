#include "display/decoration_table.h"

namespace tesmo {

namespace {

constexpr Rgb kPurple{192, 0, 192};
constexpr Rgb kOchre{192, 64, 0};
constexpr Rgb kLightYellow{255, 255, 192};
constexpr Rgb kCreditBlue{0, 0, 160};

// U+03D1, the Greek theta symbol that marks the temperature scale of the time chart.
#define THETA "\u03d1"

// clang-format off
constexpr FixedText kFixedTexts[] = {
    {"Label7", "Kinetik und Energetik der Konvektionstrocknung von schwindenden,", kRed, 15.75,
     {4770, 0, 10515, 435}, kWhite, false},
    {"Label6", "kapillarporösen Rohlingsplatten im Gegenstrom", kRed, 15.75,
     {6390, 315, 7275, 435}, kWhite, false},
    {"Label8", "im zeitlichen Ablauf der Trocknung - aus Sicht des durchfahrenden Trockengutes",
     kBlack, 12, {5310, 675, 9300, 300}, kWhite, false},
    {"Label10", "Orts- und zeitabhängige Wasserbeladung,", kBlack, 11.25, {4770, 5850, 4515, 255},
     kWhite, false},
    {"Label11", "Schwindungsende,", kBlue, 11.25, {9315, 5850, 2085, 255}, kWhite, false},
    {"Label12", "Ende des 1. Trocknungsabschnittes", kRed, 11.25, {11430, 5850, 3885, 255},
     kWhite, false},
    {"Label13", "Wasserbeladung,", kBlack, 11.25, {5625, 10575, 1860, 255}, kWhite, false},
    {"Label14", "Verdunstungsrate,", kGreen, 11.25, {7515, 10575, 2040, 255}, kWhite, false},
    {"Label15", "Oberflächen- und Kernschwindung,", kBlue, 11.25, {9540, 10575, 3840, 255},
     kWhite, false},
    {"Label9", "Luft-,", kRed, 11.25, {13365, 10575, 600, 255}, kWhite, false},
    {"Label17", "Kern- und", kPurple, 11.25, {6570, 10800, 1140, 255}, kWhite, false},
    {"Label19", "Oberflächentemperatur,", kOchre, 11.25, {7740, 10800, 2625, 255}, kWhite, false},
    {"Label20", "Trocknungsspiegel", kBlack, 11.25, {10350, 10800, 2130, 255}, kLightYellow,
     true},
    {"Label18", THETA, kRed, 18, {14760, 6120, 240, 375}, kWhite, false},
    {"Label2", "zu", kRed, 9.75, {14985, 6390, 330, 240}, kWhite, false},
    {"Label16", THETA, kRed, 18, {14760, 10035, 240, 420}, kWhite, false},
    {"Label1", "min", kRed, 9.75, {14940, 10350, 420, 240}, kWhite, false},
    // Credit lines beside the upper logo.
    {"Label3", "Tesmo-Gegen", kCreditBlue, 17.25, {1080, 0, 3480, 435}, kWhite, false},
    {"Label4", "Trocknungslauf", kCreditBlue, 17.25, {1080, 315, 3255, 435}, kWhite, false},
    {"Label5", "Plattentrocknung im Gegenstromtrockner", kBlack, 9, {405, 720, 4200, 255},
     kWhite, false},
};
// clang-format on

#undef THETA

constexpr auto kNone = PictureArrow::None;
constexpr auto kAfter = PictureArrow::AfterText;

// clang-format off
constexpr FixedPicture kPictures[] = {
    {"Image4", {4770, 5610, 120, 180}, "0", kBlack, {false, kNone}},
    {"Image5", {8940, 5610, 3015, 225}, "Rohlingsdicke", kBlack, {false, kAfter}},
    {"Image6", {14805, 5580, 330, 180}, "s/2", kBlack, {false, kNone}},
    {"Image13", {4770, 10305, 120, 180}, "0", kBlack, {false, kNone}},
    {"Image10", {8775, 10305, 2550, 180}, "laufende Zeit", kBlack, {false, kAfter}},
    {"Image14", {14895, 7110, 225, 2475}, "Temperaturen", kRed, {true, kAfter}},
};

constexpr FixedLine kLines[] = {
    {"Line10", 15210, 990, 90, 990, 3},
    {"Line5", 4680, 45, 4680, 11025, 3},
    {"Line6", 4725, 6180, 15255, 6180, 3},
    {"Line1", 90, 4860, 4680, 4860, 1},
    {"Line9", 90, 5130, 4680, 5130, 1},
    {"Line7", 90, 5625, 4680, 5625, 1},
    {"Line2", 90, 6345, 4680, 6345, 1},
    {"Line3", 90, 7290, 4680, 7290, 1},
    {"Line4", 90, 8010, 4680, 8010, 1},
    {"Line11", 90, 8955, 4680, 8955, 1},
    {"Line8", 90, 9495, 4680, 9495, 3},
};

constexpr FixedLogo kLogos[] = {
    {"Picture2", {90, 45, 885, 660}, false},
    {"Picture1", {90, 10620, 1050, 390}, true},
};
// clang-format on

// Right of the dividing line Line5; the profile chart above Line6, the time chart below it down
// to the bottom of the window. The time chart's upper theta stands on the dividing line.
constexpr Twips kProfileRegion{4725, 1080, 10575, 5040};
constexpr Twips kTimeRegion{4725, 6120, 10575, 4965};

}  // namespace

std::span<const FixedText> fixedTexts() {
    return kFixedTexts;
}
std::span<const FixedPicture> fixedPictures() {
    return kPictures;
}
std::span<const FixedLine> fixedLines() {
    return kLines;
}
std::span<const FixedLogo> fixedLogos() {
    return kLogos;
}

Twips chartRegion(Chart chart) {
    return chart == Chart::Ausgabe ? kProfileRegion : kTimeRegion;
}

bool inChartRegion(Chart chart, const Twips& place) {
    const Twips r = chartRegion(chart);
    return place.left >= r.left && place.left < r.left + r.width && place.top >= r.top &&
           place.top < r.top + r.height;
}

}  // namespace tesmo
