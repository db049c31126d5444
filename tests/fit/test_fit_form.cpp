// The fit as the window holds it: the check that says why a form cannot run, the fit file it
// saves and opens (cases from the main window written beside it, never over another file), the
// start and bounds offered for a new input, the result's texts and the charts' data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "files/case_file.h"
#include "files/decimal_number.h"
#include "fit/fit_charts.h"
#include "fit/fit_form.h"
#include "fit/fit_texts.h"

namespace tesmo {

namespace {

namespace fs = std::filesystem;

// A folder of its own for each test, removed afterwards.
class FitFormFiles : public ::testing::Test {
  protected:
    FitFormFiles() {
        folder = fs::temp_directory_path() /
                 ("tesmo-fit-form-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    ~FitFormFiles() override { fs::remove_all(folder); }

    std::string write(const std::string& name, const std::string& content) const {
        const fs::path p = folder / name;
        std::ofstream(p, std::ios::binary) << content;
        return p.string();
    }
    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // A series of masses, its case the "main window's" (no case file).
    SeriesForm massSeries(const std::string& name) const {
        const std::string path = write(name, "t_min;m_g\n0;190,4\n10;185,1\n20;180,3\n30;176,0\n");
        SeriesForm s;
        FileProblem problem;
        EXPECT_TRUE(seriesOfFile(path, defaultInputTexts(), {}, s, problem)) << describe(problem);
        return s;
    }

    fs::path folder;
};

FitForm formWithOneInput() {
    FitForm form;
    form.parameters.push_back({Control::txt_Feuchteleit, "40", "5", "200"});
    return form;
}

}  // namespace

TEST_F(FitFormFiles, TheCheckNamesTheFirstProblemInTheWordsOfTheWindow) {
    FitForm form = formWithOneInput();
    FitFormCheck c = checkFitForm(form);
    EXPECT_EQ(c.problem, FormProblem::NoSeries);
    EXPECT_NE(problemText(c, form).find("Messreihe hinzufügen"), std::string::npos);

    // A series of masses needs the sample's dry mass, a positive number.
    form.series.push_back(massSeries("probe.csv"));
    EXPECT_EQ(form.series[0].optionen.klima, Klima::Konstant);  // a climate-chamber test
    c = checkFitForm(form);
    EXPECT_EQ(c.problem, FormProblem::DryMass);
    EXPECT_NE(problemText(c, form).find("probe.csv"), std::string::npos);
    for (const char* bad : {"0", "-3", "viel", "inf"}) {
        form.series[0].trockenmasse = bad;
        c = checkFitForm(form);
        EXPECT_EQ(c.problem, FormProblem::DryMass) << bad;
        EXPECT_NE(problemText(c, form).find(bad), std::string::npos) << bad;
    }
    form.series[0].trockenmasse = "152,3";
    EXPECT_TRUE(checkFitForm(form).ok()) << problemText(checkFitForm(form), form);

    // The inputs, in their order: each problem names the input by its caption.
    const std::string caption = inputLabel(Control::txt_Feuchteleit);
    struct Case {
        ParameterForm p;
        FormProblem problem;
    };
    for (const Case& k : {
             Case{{Control::txt_Feuchteleit, "vierzig", "5", "200"}, FormProblem::NotANumber},
             Case{{Control::txt_Feuchteleit, "40", "200", "5"}, FormProblem::BoundsNotOrdered},
             Case{{Control::txt_Feuchteleit, "40", "50", "50"}, FormProblem::BoundsNotOrdered},
             Case{{Control::txt_Feuchteleit, "4", "5", "200"}, FormProblem::StartOutsideBounds},
             Case{{Control::txt_Feuchteleit, "nan", "5", "200"}, FormProblem::NotANumber},
         }) {
        form.parameters = {k.p};
        c = checkFitForm(form);
        EXPECT_EQ(c.problem, k.problem) << k.p.start << ' ' << k.p.lower << ' ' << k.p.upper;
        EXPECT_EQ(c.parameter, 0);
        EXPECT_NE(problemText(c, form).find(caption), std::string::npos) << problemText(c, form);
    }
    form.parameters = {{Control::txt_mue, "20", "2", "200"}, {Control::txt_mue, "30", "2", "200"}};
    c = checkFitForm(form);
    EXPECT_EQ(c.problem, FormProblem::ParameterTwice);
    EXPECT_EQ(c.parameter, 1);
    form.parameters.clear();
    EXPECT_EQ(checkFitForm(form).problem, FormProblem::NoParameter);
}

TEST_F(FitFormFiles, SavingWritesTheMainWindowsCasesBesideTheFitAndOpeningGivesTheSameForm) {
    FitForm form = formWithOneInput();
    form.series.push_back(massSeries("probe.csv"));
    form.series[0].trockenmasse = "152,3";
    form.series[0].caseTexts[Control::txt_Lufttemp] = "45";
    form.starts = 3;
    // Another file already has the name the case would get: it is left alone.
    const std::string foreign = write("probe.tgcase", "nicht von hier\n");
    std::vector<std::string> written;
    FileProblem problem;
    ASSERT_TRUE(saveFitForm((folder / "a.tgfit").string(), form, std::nullopt, written, problem))
        << describe(problem);
    ASSERT_EQ(written.size(), 1U);
    EXPECT_EQ(fs::path(written[0]).filename(), "probe-2.tgcase");
    EXPECT_EQ(read(foreign), "nicht von hier\n");
    EXPECT_EQ(form.series[0].casePath, written[0]);  // the form now refers to it

    // Saved again (elsewhere in the folder), the same case is not written twice.
    written.clear();
    ASSERT_TRUE(saveFitForm((folder / "b.tgfit").string(), form, std::nullopt, written, problem));
    EXPECT_TRUE(written.empty());

    FitForm opened;
    std::optional<FitOutcome> outcome;
    ASSERT_TRUE(openFitForm((folder / "b.tgfit").string(), opened, outcome, problem))
        << describe(problem);
    EXPECT_FALSE(outcome.has_value());
    EXPECT_EQ(formKey(opened), formKey(form));
    ASSERT_EQ(opened.series.size(), 1U);
    EXPECT_EQ(opened.series[0].caseTexts[Control::txt_Lufttemp], "45");
    EXPECT_EQ(opened.series[0].optionen.klima, Klima::Konstant);
    EXPECT_EQ(opened.starts, 3);

    // A fit file whose measurement is gone is refused, naming the measurement.
    fs::remove(folder / "probe.csv");
    EXPECT_FALSE(openFitForm((folder / "b.tgfit").string(), opened, outcome, problem));
    EXPECT_NE(describe(problem).find("probe.csv"), std::string::npos) << describe(problem);
}

TEST(FitForm, ANewInputStartsAtItsValueWithinBoundsThatHoldIt) {
    // Typical material values keep their usual bounds.
    ParameterForm p = parameterFor(Control::txt_Feuchteleit, 40);
    EXPECT_EQ(p.start, "40");
    EXPECT_EQ(p.lower, "5");
    EXPECT_EQ(p.upper, "200");
    // Outside them, and for any other input, a factor of five either way, also below zero.
    for (const auto& [field, value] :
         {std::pair{Control::txt_Feuchteleit, 500.0}, std::pair{Control::txt_Dicke, 8.0},
          std::pair{Control::txt_Dicke, -2.0}}) {
        p = parameterFor(field, value);
        double start = 0, lower = 0, upper = 0;
        ASSERT_TRUE(readDecimal(p.start, start) && readDecimal(p.lower, lower) &&
                    readDecimal(p.upper, upper));
        EXPECT_EQ(start, value);
        EXPECT_LT(lower, start);
        EXPECT_GT(upper, start);
        EXPECT_DOUBLE_EQ(std::max(upper / lower, lower / upper), 25.0);
    }
    p = parameterFor(Control::txt_Dicke, 0);
    EXPECT_EQ(p.lower, "-1");
    EXPECT_EQ(p.upper, "1");
}

TEST(FitTexts, ValuesShowTheDigitsTheirErrorWarrants) {
    ParameterEstimate p;
    p.value = 55.0115;
    p.standardError = 0.359;
    p.low = 54.31;
    p.high = 55.73;
    EXPECT_EQ(estimateText(p), "55,01");
    EXPECT_EQ(errorText(p), "± 0,36");
    EXPECT_EQ(intervalText(p), "54,31 … 55,73");
    p.standardError = 3.3;
    EXPECT_EQ(estimateText(p), "55,0");
    // A value the measurements do not depend on.
    p.standardError = INFINITY;
    p.low = -INFINITY;
    p.high = INFINITY;
    EXPECT_EQ(errorText(p), "± ∞");
    EXPECT_EQ(estimateText(p), "55,0115");
    EXPECT_EQ(correlationText(-0.7249), "−0,72");
}

TEST_F(FitFormFiles, ChartsShowMassesAsWaterLoadAndResidualsInTheQuantitysUnit) {
    FitForm form = formWithOneInput();
    form.series.push_back(massSeries("probe.csv"));
    form.series[0].trockenmasse = "152";
    const FitSetup setup = setupOf(form);
    ASSERT_EQ(chartQuantities(setup),
              (std::vector<Messgroesse>{Messgroesse::X, Messgroesse::Masse}));

    // The water load of a mass m over the dry mass m_tr is m/m_tr − 1, in h over time.
    const PlotSpec x = comparisonChart(setup, {}, Messgroesse::X);
    ASSERT_EQ(x.series.size(), 1U);  // the measured points: no curve before the runs
    ASSERT_EQ(x.series[0].y.size(), 4U);
    EXPECT_DOUBLE_EQ(x.series[0].y[0], 190.4 / 152 - 1);
    EXPECT_DOUBLE_EQ(x.series[0].x[3], 0.5);
    EXPECT_NE(x.yTitle.find("kg/kg"), std::string::npos);
    EXPECT_EQ(x.xTitle, "Zeit in h");

    FitResult result;
    result.comparison.push_back({0, 600, Messgroesse::Masse, 185.1, 185.4, 0.3});
    const PlotSpec r = residualChart(setup, result, Messgroesse::X);
    ASSERT_EQ(r.series.size(), 1U);
    ASSERT_EQ(r.series[0].y.size(), 1U);
    EXPECT_DOUBLE_EQ(r.series[0].y[0], 0.3 / 152);  // g over the dry mass: kg/kg
    const PlotSpec rm = residualChart(setup, result, Messgroesse::Masse);
    EXPECT_DOUBLE_EQ(rm.series[0].y[0], 0.3);
    EXPECT_NE(rm.yTitle.find(" g"), std::string::npos);
}

}  // namespace tesmo
