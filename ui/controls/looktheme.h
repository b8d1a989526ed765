#pragma once

// The program's looks 210 to 218 as Qt styles and palettes: 210 classic, 211 Office XP,
// 212 native, 213 Office 2003, 214 Visual Studio 2005, 215 to 218 Office 2007 in blue,
// black, silver and aqua. Any other id keeps the Office 2007 look in the colour it has.
namespace LookTheme {

void apply(int lookId);
// The id of the look the program shows now.
int current();

} // namespace LookTheme
