#pragma once

#include <QTableView>

// A table view whose first shown column stays in place while the others scroll beside it:
// a second view over the same model and selection lies over the left edge and scrolls
// vertically with the table. Call freezeColumn() again after the model's columns change.
class FrozenColumnView : public QTableView
{
    Q_OBJECT

public:
    explicit FrozenColumnView(QWidget *parent = nullptr);

    // Freezes the column (the first shown one); -1 frees it.
    void freezeColumn(int column);
    int frozenColumn() const { return m_column; }
    QTableView *frozenPart() const { return m_frozen; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

private:
    void placeFrozen();

    QTableView *m_frozen;
    int m_column = -1;
};
