// The one narrow way from the drying model to the window.
//
// A whole run executes on the window's thread. The model hands control to the window's event
// processing once at the top of every time step (poll), asks the window to write one of its
// fixed display groups from the run state, to draw one of the chart drawings, and to show, hide
// or repaint a control. Which boxes a group writes, in which format, and how a chart is drawn is
// the window's business; the model only says when.
#pragma once

#include <cstdint>

#include "model/controls.h"

namespace tesmo {

// The fixed, ordered groups of output writes. Each reads the run state at the moment it is
// written; the two second-period groups also lower thetaKern to 100 °C before showing it.
enum class DisplayGroup : std::uint8_t {
    SetupAir,           // txt_LuftRohlingVerh, txt_LuftWasserVerh (no immediate repaint)
    SetupShrinkage,     // txt_XSchwEnde, txt_offPoren
    SetupTemperatures,  // txt_thetaOb, txt_thetaK, both the wet-bulb temperature thetaOb
    StartRate,          // txt_Wasserdampf with the start rate, three decimals
    FirstPeriodic,      // first period, every Int(rund/50) steps
    FirstCurve,         // first period, after each profile curve
    ShrinkGradient,     // txt_schwinddiff, txt_schwindgrad at a new steepest surface gradient
    SurfaceShrinkEnd,   // lbl_OberflSchwind, txt_t1xse shown and written (end of surface shrinkage)
    CoreShrinkEnd,      // lbl_KernSchwind, txt_t2xse shown and written (end of core shrinkage)
    Transition,         // end of the first period: duration, water load, start rate, "-"
    SecondPeriodic,     // second period, every Int(rund/50) steps
    SecondRefresh,      // second period, after each curve and once at the end of the run
    EndWaterLoads,      // evaluation: txt_X1TA re-mapped, txt_xmom = XZiel
    EndEnergy,          // evaluation: energy labels and fields shown and written
    EndWaterError,      // evaluation: water-balance error with its colours and warnings
};

// The drawings the model asks for at their moments.
enum class ChartDrawing : std::uint8_t {
    ProfileAxes,         // shrinkage scale and shrinkage-end line of pic_Ausgabe
    ProfileCurveFirst,   // a first-period profile curve (black, or red and thick once X(0) < 0)
    ProfileCurveSecond,  // a second-period profile curve (black, no width change, no refresh)
    TimeHistory,         // the whole time-history chart on pic_Zeit
};

class WindowPort {
  public:
    virtual ~WindowPort() = default;

    // Process all pending window events once. Pause, Weiter and Stop act in here.
    virtual void poll() = 0;
    virtual void writeGroup(DisplayGroup group) = 0;
    virtual void draw(ChartDrawing drawing) = 0;
    virtual void setVisible(Control control, bool visible) = 0;
    // Paint the control (a label, field or drawing surface) at once.
    virtual void repaint(Control control) = 0;
};

}  // namespace tesmo
