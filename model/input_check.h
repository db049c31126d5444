// Refusal of input that the drying model cannot compute.
//
// The set-up itself checks nothing; before it touches the run state, the seventeen texts are
// checked here for everything that would divide by zero, take a root or logarithm of a negative
// number, overrun an array, never end or describe no dryer. The rules return what is wrong as
// data (field, reason, the numbers involved, values that would be accepted); one function puts
// it into German words, so that the window, the runner, the study table and the Python binding
// all say the same.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "model/inputs.h"

namespace tesmo {

// Why a field was refused. Where a refusal carries context numbers, the enumerator says what
// `a` and `b` hold; values are in the units typed into the fields.
enum class RefusalReason : std::uint8_t {
    NoNumber,             // the text holds no number (it would count as 0)
    TooLarge,             // the number is beyond what double (or XZiel's single) precision holds
    NotPositive,          // 0 or below where only positive values make sense
    OutsideComputable,    // positive, but outside 1e-6 .. 1e6
    BelowVapourPole,      // a temperature at or below the vapour-pressure formula's pole
    AboveMaxTemperature,  // a temperature above 10000 °C
    HumidityNegative,
    HumidityAbove100,
    ExhaustSaturated,       // exhaust air at 100 %: it could take up no water
    TargetNegative,         // a negative target water load
    TargetNotBelowStart,    // target at or above the initial water load; a = XAnf
    ShrinkageNegative,      // the plate would grow
    ShrinkageComplete,      // 100 % or more: the plate would vanish
    CurveStepsTooFew,       // fewer than 50 steps per curve
    CurveStepsTooMany,      // more than the curve counter can count
    CurveStepsNotWhole,     // not a whole number of steps
    GridCoarserThanPlate,   // the space step exceeds the half thickness; a = half thickness mm
    GridTooFine,            // more than 500 intervals; a = half thickness mm
    GridNotWhole,           // no whole number of intervals; a = half thickness, b = quotient
    VapourPressureAt1Bar,   // the air's vapour pressure reaches 1 bar; a = its temperature
    ExhaustNearlySteam,     // wet-bulb temperature at the boiling point; a = exhaust temperature
    NoWetBulbBelowAir,      // no evaporation possible; a = exhaust humidity %
    OutsideAirNotCooler,    // outside air at or above the exhaust temperature; a = exhaust °C
    ExhaustNotWetter,       // exhaust carries no more water than outside air; a, b = their loads
    GreenPlateOnlyWater,    // the green plate would be all water; a = rhos, b = shrinkage %
    ShrinkageExceedsWater,  // shrinking would remove more volume than the water holds
    ConductivityTooSteep,   // more than 100 decades below the limit moisture; a = largest |slope|
    DerivedNotComputable,   // together the inputs give no computable value (no single field)
};

// A quantity of the set-up that the fields together may fail to give (the last safety net).
enum class DerivedQuantity : std::uint8_t {
    DryThickness,
    SpecificSurface,
    WetBulbTemperature,
    ExhaustWaterLoad,
    ExhaustVapourPressure,
    AirPerProduct,
    ShrinkageEndWaterLoad,
    WaterFractionAtReference,
    DryDensityAtReference,
    ConductivityAtLimit,
};

struct Refusal {
    static constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

    Control field = Control::Count;  // the field named; Count for DerivedNotComputable
    RefusalReason reason = RefusalReason::NoNumber;
    double value = 0;             // the number the field's text gave
    bool numberFound = true;      // whether the text held a number at all
    double a = kNone, b = kNone;  // context numbers, see RefusalReason
    // Values that, typed into the field instead, would be accepted (kNone: none found).
    std::array<double, 2> suggestions{kNone, kNone};
    DerivedQuantity quantity = DerivedQuantity::DryThickness;  // DerivedNotComputable only
    std::vector<Control> fields;  // DerivedNotComputable: the fields that give the quantity
};

// Whether a field's value must be above 0 (a thickness, a density, a coefficient, a step).
bool requiresPositive(Control field);

// Everything that is wrong with the texts, in the order of the fields in the window (refusals
// that name no single field last). Empty when the texts can be computed.
std::vector<Refusal> checkInputs(const InputTexts& texts);

// A refusal in German words, naming the field by its label caption and saying what is wrong
// and what would be valid, e.g. „Ortsschrittweite in mm“: 0 ist nicht möglich – bitte einen
// Wert größer als 0 eingeben.
std::string refusalMessage(const Refusal& refusal);

// The messages of checkInputs(texts), one per problem.
std::vector<std::string> pruefeEingaben(const InputTexts& texts);

}  // namespace tesmo
