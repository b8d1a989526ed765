#pragma once

#include "platform/vbscript/stmt.h"

#include <QString>

#include <vector>

namespace vantrel::vbscript {

// A Sub or Function of a script. Frame slots: 0 holds the function's result, 1..n the
// parameters, then the procedure's own variables.
struct Procedure
{
    struct Parameter
    {
        QString name;
        bool byRef = true;
    };
    struct ArrayVariable
    {
        int slot = 0;
        std::vector<qint32> bounds;
    };

    QString name;
    bool isFunction = false;
    int line = 0;
    int column = 0;
    std::vector<Parameter> parameters;
    Block body;
    int slotCount = 1;
    std::vector<ArrayVariable> arrays; // Dim a(3): created on entry
    std::vector<QString> slotNames;    // folded; Execute and Eval see the frame by them
};

} // namespace vantrel::vbscript
