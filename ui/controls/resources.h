#pragma once

// Registers the program's built-in resources (bitmaps, pages); the window library is static,
// so its resources are linked only when something asks for them. Safe to call often.
void InitVantrelResources();
