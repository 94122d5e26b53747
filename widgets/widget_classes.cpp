#include "widgets/widget_classes.h"

#include "framework/typeinfo/class_registry.h"
#include "widgets/push_buttons.h"
#include "widgets/radio_buttons.h"

// One line per control family, in the order of the kit's sources.
void RegisterWidgetClasses() {
  RegisterPushButtonClasses();
  RegisterRadioButtonClasses();
}
