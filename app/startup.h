#pragma once

class QApplication;

// True when a window can be shown: a display is named, or Qt is told which platform to use.
bool hasDisplay();

// Names, version, icon and resources of the program, and how start-up makes the main frame.
void configureApplication(QApplication &app);
