#include "plot/plot_spec.h"

#include <array>
#include <string_view>
#include <utility>

#include "plot/number_text.h"

namespace tesmo {

namespace {

// Blue, vermilion, bluish green, reddish purple, orange, sky blue, black: a palette chosen to
// stay apart for the common forms of colour blindness.
constexpr std::array<Rgb, 7> kSeriesColours = {
    Rgb{0, 114, 178}, Rgb{213, 94, 0},   Rgb{0, 158, 115}, Rgb{204, 121, 167},
    Rgb{230, 159, 0}, Rgb{86, 180, 233}, kBlack,
};

// "Zeit in h" read as "Zeit 1,234 h".
std::string valueText(const std::string& title, double v) {
    const std::size_t in = title.rfind(" in ");
    if (in == std::string::npos) return title + " " + significantText(v, 4);
    std::string text = title.substr(0, in);
    text += ' ';
    text += significantText(v, 4);
    text += ' ';
    text += std::string_view(title).substr(in + 4);
    return text;
}

}  // namespace

PlotSeries pointSeries(std::string label, std::vector<double> x, std::vector<double> y, Rgb colour,
                       Marker marker) {
    PlotSeries s;
    s.label = std::move(label);
    s.x = std::move(x);
    s.y = std::move(y);
    s.colour = colour;
    s.line = false;
    s.markers = true;
    s.marker = marker;
    return s;
}

Rgb seriesColour(int index) {
    const int n = static_cast<int>(kSeriesColours.size());
    return kSeriesColours[static_cast<std::size_t>(((index % n) + n) % n)];
}

std::string axesPositionText(const PlotSpec& spec, double x, double y) {
    return valueText(spec.xTitle, x) + ", " + valueText(spec.yTitle, y);
}

}  // namespace tesmo
