#include "plot/plot_spec.h"

#include <array>
#include <utility>

namespace tesmo {

namespace {

// Blue, vermilion, bluish green, reddish purple, orange, sky blue, black: a palette chosen to
// stay apart for the common forms of colour blindness.
constexpr std::array<Rgb, 7> kSeriesColours = {
    Rgb{0, 114, 178}, Rgb{213, 94, 0},   Rgb{0, 158, 115}, Rgb{204, 121, 167},
    Rgb{230, 159, 0}, Rgb{86, 180, 233}, kBlack,
};

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

}  // namespace tesmo
