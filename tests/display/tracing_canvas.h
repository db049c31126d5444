// A ChartCanvas that records every call, for tests of the chart drawings.
#pragma once

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "display/chart_canvas.h"

namespace tesmo::test {

struct CanvasCall {
    enum Kind { Width, Style, Line, Box, Refresh } kind;
    int width = 0;                       // Width: the width set; Line: the width in force
    LineStyle style = LineStyle::Solid;  // Style: the style set; Line: the style in force
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Rgb colour{};
};

class TracingCanvas : public ChartCanvas {
  public:
    std::vector<CanvasCall> calls;
    int width = 1;
    LineStyle style = LineStyle::Solid;

    void setLineWidth(int pixels) override {
        width = pixels;
        calls.push_back({CanvasCall::Width, pixels, style});
    }
    void setLineStyle(LineStyle s) override {
        style = s;
        calls.push_back({CanvasCall::Style, width, s});
    }
    void line(float x1, float y1, float x2, float y2, Rgb c) override {
        calls.push_back({CanvasCall::Line, width, style, x1, y1, x2, y2, c});
    }
    void fillBox(float x1, float y1, float x2, float y2, Rgb c) override {
        calls.push_back({CanvasCall::Box, width, style, x1, y1, x2, y2, c});
    }
    void refresh() override { calls.push_back({CanvasCall::Refresh, width, style}); }

    std::vector<CanvasCall> lines() const {
        std::vector<CanvasCall> out;
        for (const auto& c : calls)
            if (c.kind == CanvasCall::Line) out.push_back(c);
        return out;
    }
    std::vector<CanvasCall> lines(Rgb colour) const {
        std::vector<CanvasCall> out;
        for (const auto& c : calls)
            if (c.kind == CanvasCall::Line && c.colour == colour) out.push_back(c);
        return out;
    }
    long count(CanvasCall::Kind k) const {
        long n = 0;
        for (const auto& c : calls)
            n += (c.kind == k);
        return n;
    }
    bool allFinite() const {
        for (const auto& c : calls) {
            if (!std::isfinite(c.x1) || !std::isfinite(c.y1) || !std::isfinite(c.x2) ||
                !std::isfinite(c.y2))
                return false;
        }
        return true;
    }

    // The calls as one line of text: "w2" a width, "dash"/"solid" a style, "R" a refresh, "box"
    // a filled box, and a line by its colour's name; a run of equal lines is written once with
    // its count ("blue*3"). Shows the order of a drawing at a glance.
    std::string trace() const {
        std::string out;
        std::string last;
        int run = 0;
        const auto flush = [&] {
            if (run == 0) return;
            if (!out.empty()) out += ' ';
            out += last;
            if (run > 1) out += '*' + std::to_string(run);
            run = 0;
        };
        for (const auto& c : calls) {
            std::string token;
            switch (c.kind) {
                case CanvasCall::Width:
                    token = 'w';  // appended, not "w" + …: GCC 12 misreads that as overlapping
                    token += std::to_string(c.width);
                    break;
                case CanvasCall::Style:
                    token = c.style == LineStyle::Solid ? "solid" : "dash";
                    break;
                case CanvasCall::Refresh:
                    token = "R";
                    break;
                case CanvasCall::Box:
                    token = "box";
                    break;
                case CanvasCall::Line:
                    token = colourName(c.colour);
                    if (token == last && run > 0) {
                        ++run;
                        continue;
                    }
                    break;
            }
            flush();
            last = token;
            run = 1;
        }
        flush();
        return out;
    }

    static std::string colourName(Rgb c) {
        struct Named {
            Rgb rgb;
            const char* name;
        };
        static const Named names[] = {
            {{0, 0, 0}, "black"},       {{255, 0, 0}, "red"},      {{0, 0, 255}, "blue"},
            {{255, 255, 255}, "white"}, {{235, 235, 230}, "grey"}, {{225, 225, 255}, "paleblue"},
            {{240, 240, 0}, "yellow"},  {{200, 170, 0}, "ochre"},  {{255, 0, 245}, "purple"},
            {{0, 255, 0}, "green"},
        };
        for (const auto& n : names)
            if (n.rgb == c) return n.name;
        char buf[32];
        std::snprintf(buf, sizeof buf, "rgb(%d,%d,%d)", c.r, c.g, c.b);
        return buf;
    }
};

}  // namespace tesmo::test
