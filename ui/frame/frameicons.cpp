#include "ui/frame/frameicons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

namespace FrameIcons {

namespace {

QIcon standard(QStyle::StandardPixmap pixmap)
{
    return QApplication::style()->standardIcon(pixmap);
}

} // namespace

QIcon navigationButton(int imageIndex)
{
    switch (imageIndex) {
    case 0:
        return standard(QStyle::SP_FileDialogDetailedView);
    case 1:
        return standard(QStyle::SP_BrowserReload);
    case 2:
        return standard(QStyle::SP_DialogCancelButton);
    case 3:
        return standard(QStyle::SP_FileDialogInfoView);
    case 5:
        return standard(QStyle::SP_MessageBoxInformation);
    case 7:
        return standard(QStyle::SP_DriveHDIcon);
    case 8:
        return standard(QStyle::SP_FileDialogListView);
    case 9:
        return standard(QStyle::SP_FileDialogContentsView);
    case 10:
        return standard(QStyle::SP_DirIcon);
    case 11:
        return standard(QStyle::SP_DirLinkIcon);
    case 12:
        return standard(QStyle::SP_FileDialogNewFolder);
    case 13:
        return standard(QStyle::SP_FileIcon);
    case 14:
        return standard(QStyle::SP_ComputerIcon);
    case 15:
        return standard(QStyle::SP_DirHomeIcon);
    case 16:
        return standard(QStyle::SP_FileLinkIcon);
    default:
        return {};
    }
}

QIcon navigationGroup(int imageIndex)
{
    switch (imageIndex) {
    case 8:
        return standard(QStyle::SP_DirHomeIcon);
    case 9:
        return standard(QStyle::SP_DriveHDIcon);
    case 10:
        return standard(QStyle::SP_ComputerIcon);
    default:
        return {};
    }
}

QPixmap user(bool superUser)
{
    // Drawn rather than loaded: a head and shoulders, gold for a super user, blue otherwise.
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = superUser ? QColor(0xE0, 0x9A, 0x10) : QColor(0x2F, 0x6B, 0xB5);
    painter.setPen(colour.darker(140));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(4.5, 1.5, 7, 7));
    QPainterPath shoulders;
    shoulders.moveTo(1.5, 15.5);
    shoulders.cubicTo(1.5, 10.0, 14.5, 10.0, 14.5, 15.5);
    shoulders.closeSubpath();
    painter.drawPath(shoulders);
    return pixmap;
}

} // namespace FrameIcons
