// Pieces of the German report: Markdown tables, figure references and number texts.
#pragma once

#include <string>
#include <vector>

#include "model/run_state.h"
#include "plot/plot_spec.h"

namespace tesmo {

// The figures live beside the report in this folder.
inline constexpr const char* kFigureFolder = "verification";

struct Figure {
    std::string file;     // name inside kFigureFolder, e.g. "platte_zeit.svg"
    std::string caption;  // "Bild 3: …"
    PlotSpec spec;
};

struct ReportSection {
    std::string markdown;
    std::vector<Figure> figures;

    void add(const std::string& text) { markdown += text; }
    // Appends the figure's reference (and keeps the figure for writing).
    void add(Figure figure);
};

class MarkdownTable {
  public:
    // `align` holds one of 'l', 'r', 'c' per column ('l' for columns not given).
    MarkdownTable(std::vector<std::string> header, std::string align);
    void row(std::vector<std::string> cells);
    std::string str() const;

  private:
    std::vector<std::string> header_;
    std::string align_;
    std::vector<std::vector<std::string>> rows_;
};

// Number texts with the decimal comma; a value that is not finite gives "–".
std::string zahl(double v, int significant);  // significant digits
std::string fest(double v, int decimals);     // fixed decimals
std::string ordnung(double p);                // an observed order, two decimals
std::string prozent(double v, int decimals);  // "3,4 %"
std::string dauer(double seconds);            // "6:09:35"
// The same with a "+" before a positive value: "+0,24", "+7,1 %".
std::string festMitVorzeichen(double v, int decimals);
std::string prozentMitVorzeichen(double v, int decimals);

// How a run ended, in a word or two.
std::string endeText(RunEnd end);

// The Richardson estimate at step 0 as a point of its own, in the colour of the series it
// belongs to (its marker shape follows its position among the series).
PlotSeries estimatePoint(std::string label, double value, Rgb colour);

// A series of points with the given look.
PlotSeries series(std::string label, std::vector<double> x, std::vector<double> y, Rgb colour,
                  bool line, bool markers, bool dashed = false);

}  // namespace tesmo
