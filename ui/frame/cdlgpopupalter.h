#pragma once

#include "core/query/wakeupqueries.h"

#include <QVector>
#include <QWidget>

class CWakeupGridCtrl;
class QCheckBox;
class QLabel;

// The content of the reminder alert: every reminder definition with the number of persons it
// finds, the link "点击查看详细列表..." (and a double click on a row) to the reminder manager,
// and the check box "知道了,不再弹出此窗口" that silences the alerts until the program ends.
// It only says what the user asked for; the alert's owner acts on it.
class CDlgPopupAlter : public QWidget
{
    Q_OBJECT

public:
    // Shows the rows as counted; runs no query of its own.
    explicit CDlgPopupAlter(const QVector<tagWAKEUPROW> &rows, QWidget *parent = nullptr);

    CWakeupGridCtrl *grid() const { return m_grid; }
    QLabel *link() const { return m_link; }
    QCheckBox *silenceBox() const { return m_silence; }

    // Without a reminder manager the link and the double click do nothing and the link is
    // disabled.
    void setManagerAvailable(bool available);

Q_SIGNALS:
    // The row to select in the manager: the selected row, 0 when none.
    void managerRequested(int row);
    void silenceRequested();

private:
    void requestManager();

    CWakeupGridCtrl *m_grid;
    QLabel *m_link;
    QCheckBox *m_silence;
    bool m_managerAvailable = false;
};
