#pragma once

class QMdiSubWindow;

// Where a module's window sits in the main frame's MDI area. The module windows share one
// place in the profile (section "MDIForm"): the last one closed sets where the next opens.
void SaveMdiPlacement(const QMdiSubWindow *window);
void ApplyMdiPlacement(QMdiSubWindow *window);
