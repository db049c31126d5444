#include "display/run_record.h"

#include <algorithm>
#include <cmath>

#include "model/setup.h"
#include "model/shrinkage.h"

namespace tesmo {

namespace {

// Which records are kept: all, or every n-th and the last.
std::vector<std::size_t> keptRecords(std::size_t count) {
    std::vector<std::size_t> kept;
    const std::size_t stride =
        std::max<std::size_t>(1, (count + kMaxKeptRecords - 1) / kMaxKeptRecords);
    for (std::size_t j = 0; j < count; j += stride)
        kept.push_back(j);
    if (!kept.empty() && kept.back() != count - 1) kept.push_back(count - 1);
    return kept;
}

// The start record of surface and core water load, which the model leaves unwritten.
void fillStartRecord(RunRecord& r) {
    if (r.records() == 0) return;
    r.histories[kXOb][0] = r.histories[kXmom][0];
    r.histories[kXK][0] = r.histories[kXmom][0];
}

// The low-pass the evaluation applies to the temperature histories (records 10 on, the new
// value weighted 1/(m+1)), applied to the air's water load.
void smoothLikeTemperatures(std::vector<double>& v, int m) {
    for (std::size_t j = 10; j < v.size(); ++j)
        v[j] = (v[j] + m * v[j - 1]) / (m + 1);
}

bool evaluated(RunEnd end) {
    return end == RunEnd::Target || end == RunEnd::Midplane;
}

// The first record of the second drying period: the first after record 0 whose surface water
// load is exactly 0 (the first period stores the surface node, which is not negative there);
// `surfaceX.size()` when the run never got there.
std::size_t firstDryRecord(const std::vector<double>& surfaceX) {
    for (std::size_t j = 1; j < surfaceX.size(); ++j)
        if (surfaceX[j] == 0) return j;
    return surfaceX.size();
}

}  // namespace

std::vector<double> recordTimesFromSteps(double deltaT, const std::vector<double>& surfaceX) {
    std::vector<double> t(surfaceX.size());
    const std::size_t dry = firstDryRecord(surfaceX);
    for (std::size_t j = 0; j < t.size(); ++j)
        t[j] = static_cast<double>(j + (j >= dry ? 1 : 0)) * deltaT;
    return t;
}

RunRecord recordOfRun(const RunState& st, const RunCapture* capture, const InputTexts& texts) {
    RunRecord r;
    r.inputs = texts;
    r.end = st.Laufende;
    const std::size_t count =
        static_cast<std::size_t>(std::clamp(st.HistIndex, -1, kMaxHistoryIndex) + 1);

    std::vector<double> air(st.VerlaufXLuft.begin(),
                            st.VerlaufXLuft.begin() + static_cast<std::ptrdiff_t>(count));
    if (evaluated(st.Laufende)) smoothLikeTemperatures(air, st.mGlaett);
    std::vector<double> surface(count);
    for (std::size_t j = 0; j < count; ++j)
        surface[j] = st.VerlaufXOb[j];
    const std::vector<double> stepTimes =
        capture ? std::vector<double>() : recordTimesFromSteps(st.deltaT, surface);

    for (std::size_t j : keptRecords(count)) {
        r.time.push_back(capture ? capture->recordTimes()[j] : stepTimes[j]);
        for (std::size_t c = 0; c < kHistoryColumns.size(); ++c)
            r.histories[c].push_back(exportedHistoryValue(st, c, j));
        r.airX.push_back(air[j]);
    }
    fillStartRecord(r);

    r.XAnf = st.XAnf;
    r.XSchwEnde = st.XSchwEnde;
    r.linTrSchwind = st.linTrSchwind;
    r.Ortsschritt = st.Ortsschritt;
    // t1TA keeps the value of an earlier run until this one reaches the second period.
    if (firstDryRecord(surface) < count) r.t1TA = st.t1TA;
    r.thetaAussen = st.thetaAussen;
    r.XAussen = st.XAussen;
    r.thetaAbluft = st.thetaLuft;
    r.XAbluft = count > 0 ? st.VerlaufXLuft[0] : kUnknown;
    if (evaluated(st.Laufende)) {
        r.thetaZuluft = st.thetaLuftMom;
        r.XZuluft = st.XAbluft;
    }
    if (capture) {
        const ProfileStore& store = capture->profiles();
        for (std::size_t i = 0; i < store.count(); ++i)
            r.profiles.push_back(store.at(i));
    }
    return r;
}

RunRecord recordOfTable(const HistoryTable& table, std::string source) {
    RunRecord r;
    r.source = std::move(source);
    r.hasInputs = table.hasInputs;
    r.inputs = table.inputs;
    const std::size_t count = table.records();
    for (std::size_t j : keptRecords(count))
        for (std::size_t c = 0; c < kHistoryColumns.size(); ++c)
            r.histories[c].push_back(table.columns[c][j]);
    if (count > 0) r.XAnf = table.columns[kXmom][0];
    if (table.hasInputs) {
        const Einrichtungswerte w = berechneEinrichtung(table.inputs);
        r.XAnf = w.XAnf;
        r.XSchwEnde = w.XSchwEnde;
        r.linTrSchwind = w.linTrSchwind;
        r.Ortsschritt = w.Dicke / (2 * w.nOrt);
        r.thetaAussen = w.thetaAussen;
        r.XAussen = w.XAussen;
        r.thetaAbluft = w.thetaLuft;
        r.XAbluft = w.XAbluftAbluft;
        const std::vector<double> times = recordTimesFromSteps(w.deltaT, table.columns[kXOb]);
        for (std::size_t j : keptRecords(count))
            r.time.push_back(times[j]);
        // The step before the first record of the second period stored none: it ended the first.
        if (const std::size_t dry = firstDryRecord(table.columns[kXOb]); dry < count)
            r.t1TA = times[dry] - w.deltaT;
        // A file of an earlier version holds the linear values: the plate's shrinkage stops at
        // the linear drying shrinkage.
        RunParameters p;
        p.linTrSchwind = w.linTrSchwind;
        for (std::size_t c : {kSchwindOb, kSchwindK})
            for (double& v : r.histories[c])
                v = physischeSchwindung(p, v);
    }
    fillStartRecord(r);
    return r;
}

}  // namespace tesmo
