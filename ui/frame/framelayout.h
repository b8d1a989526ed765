#pragma once

class QMainWindow;
class QWidget;

// Where the main frame and its panes were when the user last closed it, in the profile:
// the window's place in section "MDIForm" ("Maximize", "Left", "Top", "Width", "Height": the
// outer rectangle in screen pixels), the docking layout as one value in section "Panes", and
// each pane's visibility as "IsVisible" in section "BasePane-<control id>0".
namespace FrameLayout {

// Writes "Maximize"; the rectangle only when the window is not maximised, so the last normal
// place stays.
void savePlacement(const QWidget &window);
// Puts a shown window back where it was, kept on a visible screen; false when nothing was
// saved.
bool restorePlacement(QWidget &window);

void saveDockState(const QMainWindow &frame);
// False when nothing was saved or the saved layout does not fit the frame.
bool restoreDockState(QMainWindow &frame);

void savePaneVisibility(int controlId, bool visible);
// True when nothing was saved.
bool paneVisibility(int controlId);

} // namespace FrameLayout
