#include "bench/headless_viewer.h"

#include "app/form1.h"
#include "app/program.h"

THeadlessViewer::THeadlessViewer(const THeadlessScreen& screen)
    : Backend(CreateHeadlessBackend(screen)), App(std::make_unique<TApplication>()) {
  StartVelmorath(*App, *Backend, "/usr/bin/velmorath");
  Form1->SetVisible(true);
  Form1->Show();
  App->ProcessMessages();
}
