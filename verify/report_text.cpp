#include "verify/report_text.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "display/number_format.h"
#include "plot/number_text.h"

namespace tesmo {

void ReportSection::add(Figure figure) {
    markdown += "![" + figure.caption + "](" + kFigureFolder + "/" + figure.file + ")\n\n*" +
                figure.caption + "*\n\n";
    figures.push_back(std::move(figure));
}

MarkdownTable::MarkdownTable(std::vector<std::string> header, std::string align)
    : header_(std::move(header)), align_(std::move(align)) {
    align_.resize(header_.size(), 'l');
}

void MarkdownTable::row(std::vector<std::string> cells) {
    cells.resize(header_.size());
    rows_.push_back(std::move(cells));
}

std::string MarkdownTable::str() const {
    const auto line = [](const std::vector<std::string>& cells) {
        std::string text = "|";
        for (const std::string& c : cells)
            text += " " + c + " |";
        return text + "\n";
    };
    std::string text = line(header_) + "|";
    for (char a : align_)
        text += a == 'r' ? " ---: |" : a == 'c' ? " :---: |" : " --- |";
    text += "\n";
    for (const auto& r : rows_)
        text += line(r);
    return text + "\n";
}

std::string zahl(double v, int significant) {
    return significantText(v, significant);
}

std::string fest(double v, int decimals) {
    return decimalText(v, decimals);
}

std::string ordnung(double p) {
    return decimalText(p, 2);
}

std::string prozent(double v, int decimals) {
    const std::string text = decimalText(v, decimals);
    return text == kKeineZahl ? text : text + " %";
}

namespace {

// A "+" before a positive value whose text is not all zeros.
std::string plus(double v, const std::string& text) {
    const bool shown = text.find_first_of("123456789") != std::string::npos;
    std::string out = v > 0 && shown ? "+" : "";
    out += text;
    return out;
}

}  // namespace

std::string festMitVorzeichen(double v, int decimals) {
    return plus(v, fest(v, decimals));
}

std::string prozentMitVorzeichen(double v, int decimals) {
    return plus(v, prozent(v, decimals));
}

std::string dauer(double seconds) {
    std::string text = Zeitformat(seconds);
    text.erase(0, text.find_first_not_of(' '));
    return text;
}

std::string endeText(RunEnd end) {
    // In the order of the enumerators, None first.
    constexpr const char* kWords[] = {"–",        "Zielbeladung", "Mittelebene",
                                      "gestoppt", "Verlauf voll", "nicht endlich",
                                      "instabil"};
    const auto i = static_cast<std::size_t>(end);
    return i < std::size(kWords) ? kWords[i] : kWords[0];
}

PlotSeries estimatePoint(std::string label, double value, Rgb colour) {
    return series(std::move(label), {0}, {value}, colour, false, true);
}

PlotSeries series(std::string label, std::vector<double> x, std::vector<double> y, Rgb colour,
                  bool line, bool markers, bool dashed) {
    PlotSeries s;
    s.label = std::move(label);
    s.x = std::move(x);
    s.y = std::move(y);
    s.colour = colour;
    s.line = line;
    s.markers = markers;
    s.dash = dashed ? Dash::Dashed : Dash::Solid;
    return s;
}

}  // namespace tesmo
