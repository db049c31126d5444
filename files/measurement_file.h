// Measurement files: a drying curve from the laboratory, as a spreadsheet writes it.
//
//   t_min;X;thetaOb           header: one time column and the measured quantities
//   0;0,250;                  one measurement per row, decimal comma or point
//   10;0,238;31,2             an empty cell: not measured at that time
//
// CSV as files/csv_reader.h reads it (RFC 4180, ';' or ',' as the header shows, UTF-8 with or
// without byte-order mark). The time column is one of t_s, t_min, t_h (a number of seconds,
// minutes or hours since the start of drying) or Zeit (h:mm:ss, seconds with decimals allowed);
// the times must increase from row to row. The measured quantities are the columns of
// kMessgroessen: the mean water load X in kg/kg, the sample's mass m_g in g (which needs the dry
// mass of its series), the surface temperature thetaOb in °C and the linear shrinkage schwind
// in %. Empty lines are skipped; a row that measures nothing is dropped.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_problem.h"

namespace tesmo {

enum class Messgroesse : std::uint8_t { X, Masse, thetaOb, schwind };

struct MessgroesseSpec {
    Messgroesse groesse;
    std::string_view spalte;       // the column's name in a measurement file
    std::string_view bezeichnung;  // German, for tables and messages
    std::string_view einheit;
    // A typical measurement noise in the quantity's unit (a laboratory balance, a thermocouple
    // or infrared thermometer, a calliper): the weight a fit starts from until the residuals
    // tell the real noise, and the tolerance of the check of water loads against the case.
    double typischesRauschen;
};

inline constexpr std::array<MessgroesseSpec, 4> kMessgroessen = {{
    {Messgroesse::X, "X", "mittlere Wasserbeladung", "kg/kg", 0.002},
    {Messgroesse::Masse, "m_g", "Probenmasse", "g", 0.1},
    {Messgroesse::thetaOb, "thetaOb", "Oberflächentemperatur", "°C", 0.5},
    {Messgroesse::schwind, "schwind", "lineare Schwindung", "%", 0.05},
}};
inline constexpr std::size_t kMessgroessenCount = kMessgroessen.size();

inline constexpr std::size_t slot(Messgroesse g) {
    return static_cast<std::size_t>(g);
}
const MessgroesseSpec& messgroesseSpec(Messgroesse g);
// The quantity whose column has that name, if any.
bool messgroesseByName(std::string_view spalte, Messgroesse& g);

// A measurement file is at most this large (a record every second for days fits).
inline constexpr std::size_t kMaxMeasurementBytes = 16 * 1024 * 1024;

struct Measurement {
    std::vector<double> zeit;  // s since the start of drying, increasing
    std::vector<int> zeile;    // the line of the file each record stands in
    // Per quantity, one value per record (NaN where its cell is empty); empty for a quantity the
    // file has no column for.
    std::array<std::vector<double>, kMessgroessenCount> werte;

    bool misst(Messgroesse g) const { return !werte[slot(g)].empty(); }
    std::size_t size() const { return zeit.size(); }
};

// Reads a measurement file's content. On a refusal `out` is left as it was and `problem` names
// `displayName`, the line and what is wrong.
bool parseMeasurementFile(std::string_view content, const std::string& displayName,
                          Measurement& out, FileProblem& problem);
bool readMeasurementFile(const std::string& path, Measurement& out, FileProblem& problem);

}  // namespace tesmo
