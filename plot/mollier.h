// The h,x diagram of moist air after Mollier, at the total pressure of 1 bar the model uses.
//
// The enthalpy per kg of dry air is h = 1.005·θ + x·(2500 + 1.86·θ) kJ/kg. The diagram is
// drawn in oblique coordinates: the water load x to the right, and upwards h − 2500·x divided
// by 1.005 kJ/(kg K), which is the temperature at x = 0. So the 0 °C isotherm is level, the
// other isotherms rise gently with x, lines of constant enthalpy fall steeply, and the axis on
// the left reads in °C. x is shown in g/kg.
#pragma once

#include <vector>

#include "plot/run_charts.h"

namespace tesmo {

// The upward coordinate of air at temperature theta (°C) with water load x (kg/kg).
double mollierY(double theta, double x);
// The temperature of the air at the upward coordinate y with water load x.
double mollierTheta(double y, double x);
// The water load of saturated air at theta (kg/kg); infinite where the saturation pressure
// reaches the total pressure.
double saturationX(double theta);
// The enthalpy of moist air in kJ per kg of dry air.
double enthalpy(double theta, double x);

// The diagram: saturation line, lines of 10 % to 90 % relative humidity, isotherms every 10 K,
// and of each run the path of the air along the plate (from the exhaust end, where the plate
// enters, to the supply end), with the exhaust, outside and supply air marked and the heating
// of the outside air drawn from the outside to the supply state.
PlotSpec mollierChart(const std::vector<ChartRun>& runs);

// The state of the air at a point of the diagram (x in g/kg, y as above): water load,
// temperature, relative humidity and enthalpy.
std::string mollierPositionText(double xGramPerKg, double y);

}  // namespace tesmo
