#include "widgets/widget_classes.h"

#include "framework/typeinfo/class_registry.h"
#include "widgets/led_display.h"

// One line per control family, in the order of the kit's sources.
void RegisterWidgetClasses() {
  RegisterLEDDisplayClasses();
}
