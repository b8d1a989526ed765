#pragma once

#include "platform/vbscript/variant.h"

#include <QVariant>

// Registers the fourteen host functions that scripts call as members of "myApp", by their bare
// names in any letter case: USERNAME, SDATE, SNAME, IIF, CEIL, FLOOR, COUNT, SUM, AVG, MAX, MIN,
// GETPRESALARY, GETSALARY and DX, in this order (their member ids follow it). Start-up calls it
// once before any engine runs; a second call replaces the functions with the same ones.
//
// The functions read the calling thread's ScriptSession. Argument rules: "at least n"
// functions take the last n arguments when more are given; a missing argument, a number
// that does not convert or an IIF without exactly three arguments raises "Invalid procedure
// call or argument" (5); a text argument that does not convert raises "Type mismatch" (13);
// a failed database call raises E_FAIL with the database's text; DX of 10^16 or more raises
// "Overflow" (6). Missing wage data gives 0.
void registerHostFunctions();

// A wage value as GETSALARY and GETPRESALARY give it to scripts: numbers as Double, other
// values as their text, missing data (no row, NULL, an empty text) as 0.
vantrel::vbscript::Variant ScriptWageValue(const QVariant &value);
