#pragma once

#include <QString>

// What a progress window shows, chosen by its caller (see CProgressDlg).
struct tagProgressInfo
{
    QString caption;    // window title
    QString status;     // the line above the bar
    QString secondText; // the line below the bar; empty hides it
    int rangeLow = 0;
    int rangeHigh = 100;
    int step = 10;
    int allowCancel = 1;   // 0: no Cancel button and no close box
    int showBar = 1;       // 0: neither bar nor percentage
    int showPercent = 1;   // 0: the bar takes the percentage's place
    int frameworkLook = 1; // 0: a painted band behind the Cancel button
    int headerHeight = 0;  // pixels reserved at the top for PaintHeader
    int aviId = 0;         // animations are not shown (no animation resources)
    QString aviName;
    int aviHeight = 60;
    int disableOwner = 1; // the owner takes no input while the window is open
};
