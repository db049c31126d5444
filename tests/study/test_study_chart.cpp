// What the study window shows of the outcomes: captions with units, the window's formats, the
// end words, and the chart's curves.
#include <gtest/gtest.h>

#include "study/result_view.h"
#include "study/study_chart.h"

namespace tesmo {
namespace {

const std::size_t kLaufzeit = resultIndex("Laufzeit");
const std::size_t kOffPoren = resultIndex("offPoren");

// A finished case of the study below with drying time `hours`.
CaseOutcome done(std::size_t number, double x, double hours) {
    CaseOutcome o;
    o.number = number;
    o.refused = false;
    o.end = RunEnd::Target;
    o.inputs[static_cast<std::size_t>(index(Control::txt_Lufttemp))] = x;
    o.inputRead[static_cast<std::size_t>(index(Control::txt_Lufttemp))] = true;
    o.results[kLaufzeit] = hours * 3600;
    o.reached.fill(true);
    return o;
}

TEST(ResultView, ColumnsShowTheOutputFieldsCaptionAndFormat) {
    EXPECT_EQ(resultCaption(resultColumns()[kLaufzeit]), "laufende Zeit in hh : mm : ss");
    EXPECT_EQ(chartCaption(resultColumns()[kLaufzeit]), "laufende Zeit in h");
    EXPECT_EQ(resultCaption(resultColumns()[resultIndex("SchwindDiffMax")]),
              "max. Differenz der lin. Schwindung in %");  // the field's trailing blank dropped
    EXPECT_EQ(resultCaption(resultColumns()[resultIndex("HistIndex")]),
              "gespeicherte Zeitschritte");
    EXPECT_EQ(resultIndex("nichts"), kResultCount);

    CaseOutcome o = done(1, 30, 1.5);
    o.results[kOffPoren] = 0.25081;                    // a fraction, shown in Vol.-%
    o.results[resultIndex("SchwindGradMax")] = 57.67;  // 1/m, shown in % per mm
    o.results[resultIndex("HistIndex")] = 24997;
    o.results[resultIndex("lbl_ungenau")] = 1;
    EXPECT_EQ(resultText(o, kLaufzeit), " 1:30:00");
    EXPECT_EQ(resultText(o, kOffPoren), "25,1");
    EXPECT_EQ(shownValue(o, kOffPoren), 0.25081 * 100);
    EXPECT_EQ(resultText(o, resultIndex("SchwindGradMax")), "5,77");
    EXPECT_EQ(resultText(o, resultIndex("HistIndex")), "24997");
    EXPECT_EQ(resultText(o, resultIndex("lbl_ungenau")), "ja");
    EXPECT_EQ(resultText(o, resultIndex("lbl_Achtung")), "nein");
    EXPECT_EQ(chartValue(o, kLaufzeit), 1.5);
    o.reached[kLaufzeit] = false;
    EXPECT_EQ(resultText(o, kLaufzeit), "");

    EXPECT_STREQ(endWord(o), "Ziel erreicht");
    o.end = RunEnd::Unstable;
    EXPECT_STREQ(endWord(o), "instabil");
    o.refused = true;
    EXPECT_STREQ(endWord(o), "abgelehnt");
}

TEST(StudyChart, OneCurvePerSecondValuePointsSortedWhatDidNotFinishCounted) {
    const std::vector<Variation> study = {
        {Control::txt_Lufttemp, {"50", "30", "40"}},
        {Control::txt_Dicke, {"10,0", "20,0"}},
    };
    // Cases 1..6: (50, 10), (50, 20), (30, 10), (30, 20), (40, 10), (40, 20).
    std::vector<CaseOutcome> rows = {done(1, 50, 1), done(2, 50, 3),   done(3, 30, 2),
                                     done(4, 30, 5), done(5, 40, 1.5), done(6, 40, 4)};
    rows[3].end = RunEnd::Unstable;  // did not finish
    rows[4].reached[kLaufzeit] = false;

    PlotSpec spec = studyChart(study, rows, kLaufzeit);
    EXPECT_EQ(spec.xTitle, "Ablufttemperatur in °C");
    EXPECT_EQ(spec.yTitle, "laufende Zeit in h");
    ASSERT_EQ(spec.series.size(), 2u);
    EXPECT_EQ(spec.series[0].label, "Dicke = 10,0 mm");
    EXPECT_EQ(spec.series[0].x, (std::vector<double>{30, 50}));  // ascending along the axis
    EXPECT_EQ(spec.series[0].y, (std::vector<double>{2, 1}));
    EXPECT_EQ(spec.series[1].label, "Dicke = 20,0 mm");
    EXPECT_EQ(spec.series[1].x, (std::vector<double>{40, 50}));
    EXPECT_EQ(spec.series[1].y, (std::vector<double>{4, 3}));
    EXPECT_TRUE(spec.series[0].markers);
    EXPECT_NE(spec.series[0].colour, spec.series[1].colour);
    EXPECT_EQ(spec.note, "1 Fall nicht beendet, 1 Fall ohne diesen Wert, nicht gezeigt");

    // The first cases only, as they arrive: the curves grow.
    spec = studyChart(study, {rows[0], rows[1]}, kLaufzeit);
    ASSERT_EQ(spec.series.size(), 2u);
    EXPECT_EQ(spec.note, "");

    // One varied input: one curve without a legend.
    spec = studyChart({study[0]}, {done(1, 50, 1), done(2, 30, 2)}, kLaufzeit);
    ASSERT_EQ(spec.series.size(), 1u);
    EXPECT_EQ(spec.series[0].label, "");
    EXPECT_EQ(spec.series[0].y, (std::vector<double>{2, 1}));

    EXPECT_EQ(curveLabel(Control::txt_mue, "20"), "mue = 20");
    EXPECT_EQ(curveLabel(Control::txt_AussenluftFeuchte, "60"), "AussenluftFeuchte = 60 %");
}

}  // namespace
}  // namespace tesmo
