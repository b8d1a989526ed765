#pragma once

#include <QPointer>
#include <QTabWidget>

class QHeaderView;

// A tab widget that tells its owner when another tab becomes active and when the user has
// finished resizing a column of the grid it shows (the header given to WatchHeader).
class CMyMFCTabCtrl : public QTabWidget
{
    Q_OBJECT

public:
    explicit CMyMFCTabCtrl(QWidget *parent = nullptr);

    // Columns resized by the user's drag on this header are reported when the button is
    // released; resizing by the program is not.
    void WatchHeader(QHeaderView *header);

Q_SIGNALS:
    void tabActivated(int index);                                   // WM_TAB_ACTIVATED
    void columnResized(int logicalIndex, int oldSize, int newSize); // WM_DATA_CHANGED

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QHeaderView> m_pHeader;
    int m_nSection = -1;
    int m_nOldSize = 0;
    bool m_bTracking = false;
};
