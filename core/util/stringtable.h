#pragma once

#include <QString>

// The program's fixed texts by id; the empty text for an id that has none.
QString LoadResString(int id);
