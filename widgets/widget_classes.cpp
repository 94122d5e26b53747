#include "widgets/widget_classes.h"

#include "widgets/led_display.h"
#include "widgets/page_control.h"
#include "widgets/status_panes.h"

// One line per control family, in the order of the kit's sources.
void RegisterWidgetClasses() {
  RegisterLEDDisplayClasses();
  RegisterStatusPaneClasses();
  RegisterPageControlClasses();
}
