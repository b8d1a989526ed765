#pragma once

// The statistics of the person archive: the stored definitions and their ranges.
#include "personnel/psnstatstore.h"
