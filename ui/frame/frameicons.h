#pragma once

#include <QIcon>

// The pictures of the main frame's navigation pane and status bar.
namespace FrameIcons {

// The picture of a navigation button by its image index (0 to 16).
QIcon navigationButton(int imageIndex);
// The picture of a navigation group's tab by its image index (8 personnel, 9 payroll,
// 10 system administration).
QIcon navigationGroup(int imageIndex);
// The 16-pixel picture beside the user's name: a super user's differs from an ordinary one's.
QPixmap user(bool superUser);

} // namespace FrameIcons
