#pragma once

namespace vnx::app {

class MainWindow;

// Creates every view panel and hands it to the window with the menu item that opens it.
void CreateViewPanels(MainWindow& window);

}  // namespace vnx::app
