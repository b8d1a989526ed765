#pragma once

// Registers what system administration offers the rest of the program: its procedures, and
// the main frame's openers of the operator list (2301), the department manager (33188), the person
// categories (33189), the dictionary manager (33171) and the data-structure manager (33174). Called
// once at start-up, before the main frame is made.
void RegisterAdminModule();
