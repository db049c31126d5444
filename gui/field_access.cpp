#include "gui/field_access.h"

#include <QLabel>

#include "display/control_table.h"
#include "display/field_help.h"
#include "gui/main_window.h"
#include "model/inputs.h"

namespace tesmo::qt {

void describeFields(frm_TesmoGegen& window) {
    for (int i = 0; i < kControlCount; ++i) {
        const Control c = controlAt(i);
        if (!isInput(c) && !isOutputField(c)) continue;
        QWidget* field = window.widget(c);
        field->setAccessibleName(QString::fromUtf8(fieldCaption(c)).trimmed());
        field->setAccessibleDescription(QString::fromUtf8(fieldHelp(c)));
        auto* label = isInput(c) ? window.findChild<QLabel*>(QString::fromLatin1(inputLabelName(c)))
                                 : qobject_cast<QLabel*>(window.widget(labelOf(c)));
        if (label) label->setBuddy(field);
    }
}

}  // namespace tesmo::qt
