#include "app/program.h"

#include "app/application_icon.h"
#include "app/form1.h"
#include "app/form2.h"
#include "framework/controls/application.h"
#include "framework/graphics/font_resolver.h"
#include "framework/port/backend_port.h"
#include "pictures/picture_classes.h"
#include "widgets/widget_classes.h"

void RegisterApplicationClasses() {
  RegisterWidgetClasses();
  RegisterPictureClasses();
}

void PrepareVelmorathFonts() {
  // The faces the windows' descriptions ask for.
  PrepareFontResolver({{"MS Sans Serif", false}, {"MS Sans Serif", true}, {"Verdana", true}});
}

void StartVelmorath(TApplication& application, TPlatformBackend& backend, std::string_view programPath) {
  RegisterApplicationClasses();
  application.Initialize(backend, programPath);
  if (const auto icon = ApplicationIconImage()) application.SetIcon(*icon);
  backend.SetIcon(&application.Icon().Image());
  application.CreateForm(Form1);
  application.CreateForm(Form2);
}
