#pragma once

#include "gui/news/browser_view.h"

#include <memory>

namespace brevio {

// The browser panel's view, made when a browser source first needs it: the web engine where
// this build has it and its module loads, else the text browser.
std::unique_ptr<BrowserView> createBrowserView(QWidget* parent, BrowserSetup setup);

} // namespace brevio
