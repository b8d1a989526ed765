#pragma once

#include <QTableView>

// Keeps the first columns of a table view in place while the others scroll sideways: a second
// view over the same model and selection, laid over the left edge of the first, showing only
// those columns (with the widths and hidden state the main view gives them).
class FrozenColumns : public QTableView
{
    Q_OBJECT

public:
    // The view takes ownership as its child; count is the number of leading columns held.
    FrozenColumns(QTableView *main, int count);

    // After the main view's columns changed (reopened, hidden, resized).
    void Sync();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QTableView *m_pMain;
    int m_nCount;
};
