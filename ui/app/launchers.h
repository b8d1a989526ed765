#pragma once

#include <QString>

// Starters of the desktop tools that the main frame and the banner offer. The tools run
// detached: the program never waits for them and does not stop them when it ends.

// Starts the program at path, without arguments, in the program's working folder. False when
// it cannot be started; nothing is shown.
bool LaunchProcess(const QString &path);

// The first desktop calculator on PATH (gnome-calculator, kcalc, galculator, mate-calc, xcalc,
// qalculate-gtk, in this order); empty when there is none.
QString FindCalculator();

// Starts the calculator; says "未找到计算器程序。" and returns false when none is installed or
// it does not start.
bool LaunchCalculator();

// Where the sibling tool Tirlo is installed: beside the program.
QString TirloPath();

// Starts Tirlo; says so when it is not installed beside the program or does not start.
void LaunchTirlo();
