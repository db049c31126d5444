// The fields as assistive technology presents them: a screen reader announces an input field
// as "Anfangsdicke der Platte in mm, 20,0" and reads its help text on request.
#pragma once

namespace tesmo::qt {

class frm_TesmoGegen;

// Names every input and result field by the caption beside it, describes it by its help text
// (the tooltip's words, display/field_help.h) and makes the caption's label its buddy. Nothing
// on the screen changes.
void describeFields(frm_TesmoGegen& window);

}  // namespace tesmo::qt
