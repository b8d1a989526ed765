#pragma once

// Makes the personnel archive available: its procedures and the main frame's command 2100
// (F2, "人员档案"). Called once at start-up, before the main frame is made.
void RegisterPersonnelModule();
