#pragma once
// Makes every class of the widget kit known to the form loader by name.
// A family adds its classes in widget_classes.cpp; the program and tests call this once
// before loading a form (calling it again changes nothing).
void RegisterWidgetClasses();
