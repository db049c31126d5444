#include "verify/grid_study.h"

#include "model/text_to_number.h"

namespace tesmo {

namespace {

constexpr double kRefinement = 2;

struct Steps {
    const char* dx;
    const char* dt;
};
constexpr Steps kSpaceLevels[] = {{"0,2", "0,5"}, {"0,1", "0,5"}, {"0,05", "0,5"}};
constexpr Steps kTimeLevels[] = {{"0,1", "1"}, {"0,1", "0,5"}, {"0,1", "0,25"}};
constexpr Steps kBothLevels[] = {{"0,2", "2"}, {"0,1", "0,5"}, {"0,05", "0,125"}};

GridSeries series(const Steps (&levels)[3], bool space, bool time,
                  Luftbilanz bilanz = Luftbilanz::Standard) {
    GridSeries s;
    s.refinesSpace = space;
    s.refinesTime = time;
    s.luftbilanz = bilanz;
    for (const Steps& l : levels)
        s.levels.push_back({l.dx, l.dt, TextZuZahl(l.dx), TextZuZahl(l.dt), {}});
    return s;
}

}  // namespace

RichardsonEstimate GridSeries::estimate(const GridQuantity& q) const {
    for (const GridLevel& l : levels)
        if (!l.result.finished()) return richardson(0, 0, 0, kRefinement);  // not monotone
    return richardson(levels[0].result.*q.value, levels[1].result.*q.value,
                      levels[2].result.*q.value, kRefinement);
}

GridStudy runGridStudy(int threads) {
    GridStudy study{series(kSpaceLevels, true, false), series(kTimeLevels, false, true),
                    series(kBothLevels, true, true),
                    series(kBothLevels, true, true, Luftbilanz::Korrigiert)};
    std::vector<GridLevel*> all;
    std::vector<InputTexts> cases;
    for (GridSeries* s : {&study.space, &study.time, &study.both, &study.bothKorrigiert}) {
        for (GridLevel& l : s->levels) {
            all.push_back(&l);
            InputTexts t = defaultInputTexts();
            t[Control::txt_Ortsschrittweite] = l.dxText;
            t[Control::txt_deltaT] = l.dtText;
            t.optionen.luftbilanz = s->luftbilanz;
            cases.push_back(t);
        }
    }
    const std::vector<CaseResult> results = runCases(cases, threads);
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i]->result = results[i];
    return study;
}

}  // namespace tesmo
