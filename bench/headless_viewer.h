#pragma once
// The viewer as main() starts it, on the headless screen, with its main window shown and
// painted: what the viewer's benchmarks and measuring tools start from.
#include <memory>

#include "framework/controls/application.h"
#include "platform/headless/headless_backend.h"

struct THeadlessViewer {
  explicit THeadlessViewer(const THeadlessScreen& screen = {});
  // In this order, so that the windows go with the application before the backend they live on.
  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TApplication> App;
};
