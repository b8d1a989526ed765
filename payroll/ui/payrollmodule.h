#pragma once

// Registers what the payroll module offers the rest of the program: its procedures, and the
// main frame's "帐套设置(&S)" (command 2202), which opens the wage-set set-up dialog. Called
// once at start-up, before the main frame is made.
void RegisterPayrollModule();
