#pragma once

class QApplication;

// True when a window can be shown: a display is named, or Qt is told which platform to use.
bool hasDisplay();

// Before the QApplication: what the web view needs for this user (said once on stderr).
void prepareProcess();

// Names, version, icon, resources and Qt's Chinese texts of the program, and how start-up
// makes the main frame.
void configureApplication(QApplication &app);
