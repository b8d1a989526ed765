#pragma once

class QDockWidget;

// Sizes for panes docked in a QMainWindow, for module frames that give a pane a wanted size
// after docking it. Each does nothing for a floating pane or one not docked in a QMainWindow.
// Sizes are in pixels.

// Moves the horizontal divider next to the pane so that the pane gets the height: only when
// such a divider exists (the pane sits at the top or bottom edge, or is stacked with another
// pane at the left or right edge) and the height fits in the column of panes it is part of
// less 4 pixels. The pane's neighbour in that column takes up the difference.
void SetPaneHeightByDivider(QDockWidget *pane, int height);

// The same with the vertical divider and the width.
void SetPaneWidthByDivider(QDockWidget *pane, int width);

// Gives the pane's edge the size across it: the width at the left or right edge, the height at
// the top or bottom. Panes side by side across the edge keep their proportions.
void SetDockedPaneSize(QDockWidget *pane, int size);
