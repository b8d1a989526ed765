#include "ui/controls/itemgridcommands.h"

#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/controls/cmybcgpgridview.h"
#include "ui/controls/cmytoolbarlabel.h"
#include "ui/dialogs/cdlggridcolfmt.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QToolBar>

using namespace Qt::StringLiterals;

DraggedColumnWidths::DraggedColumnWidths(CBCGPADOGridCtrl *grid,
                                         std::function<bool(int column)> accepts,
                                         std::function<void(int column, int width)> store)
    : QObject(grid), m_pGrid(grid), m_accepts(std::move(accepts)), m_store(std::move(store))
{
    QHeaderView *header = grid->horizontalHeader();
    header->viewport()->installEventFilter(this);
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int newWidth) { onResized(column, newWidth); });
}

void DraggedColumnWidths::onResized(int column, int newWidth)
{
    if (newWidth <= 0 || m_pGrid->isColumnHidden(column) || !m_accepts(column))
        return;
    // Only the user's drag counts; it is stored once the mouse lets go of the header.
    if (QApplication::mouseButtons() & Qt::LeftButton)
        m_resized.insert(column, newWidth);
}

bool DraggedColumnWidths::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && !m_resized.isEmpty()) {
        const QHash<int, int> resized = std::exchange(m_resized, {});
        for (auto it = resized.cbegin(); it != resized.cend(); ++it)
            m_store(it.key(), it.value());
    }
    return QObject::eventFilter(watched, event);
}

GridContextMenu::GridContextMenu(CMyBCGPGridView *view, QMenu *menu,
                                 std::function<void(const QPoint &globalPos)> show,
                                 std::function<void()> refresh)
    : QObject(view)
    , m_pGrid(view->GetGridCtrl())
    , m_pMenu(menu)
    , m_show(std::move(show))
    , m_refresh(std::move(refresh))
{
    m_pGrid->installEventFilter(this);
    connect(view, &CMyBCGPGridView::gridRButtonUp, this,
            [this](const GridMouseInfo &info) { m_show(info.globalPos); });
}

void GridContextMenu::toggle()
{
    if (m_pMenu->isVisible()) {
        m_pMenu->close();
        return;
    }
    const QRect cell = m_pGrid->visualRect(m_pGrid->currentIndex());
    m_show(m_pGrid->viewport()->mapToGlobal(cell.isValid() ? cell.center() : QPoint()));
}

bool GridContextMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_pGrid)
        return QObject::eventFilter(watched, event);
    // Alt counts when it is let go alone (a shortcut is offered to the grid before it runs).
    if (event->type() == QEvent::ShortcutOverride)
        m_bAltAlone = m_bAltAlone && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Alt;
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        m_bAltAlone = key == Qt::Key_Alt;
        if (key == Qt::Key_F5) {
            m_refresh();
            return true;
        }
        if (key == Qt::Key_Menu) {
            toggle();
            return true;
        }
    }
    if (event->type() == QEvent::KeyRelease && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Alt
        && m_bAltAlone) {
        m_bAltAlone = false;
        toggle();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void FillCommandMenu(QMenu *menu, const QHash<int, QAction *> &actions,
                     std::initializer_list<int> ids)
{
    for (const int id : ids) {
        if (id == 0)
            menu->addSeparator();
        else
            menu->addAction(actions.value(id));
    }
}

void CopySelectedRows(CBCGPADOGridCtrl *grid, int firstColumn)
{
    if (grid->GetCurSel() < 0)
        return;
    QApplication::clipboard()->setText(grid->RowsText(grid->SelectedRows(), firstColumn));
}

int FreezeColumnsThrough(CBCGPADOGridCtrl *grid, int column)
{
    int count = 0;
    for (int c = 0; c <= column; ++c) {
        if (!grid->isColumnHidden(c))
            ++count;
    }
    grid->SetFrozenColumns(count);
    return count;
}

std::optional<RecordsetGridModel::ColumnFormat> AskColumnFormat(
    CBCGPADOGridCtrl *grid, const QString &title, const RecordsetGridModel::ColumnFormat &current,
    QWidget *parent)
{
    CDlgGridColFmt dialog(grid, parent);
    dialog.SetColumnTitle(title);
    dialog.SetFormat(current);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.GetFormat();
}

void ShowFoundRow(CBCGPADOGridCtrl *grid, int row, int column, QComboBox *box, const QString &text)
{
    grid->SetCurSel(row, column);
    grid->scrollTo(grid->currentIndex());
    grid->setFocus();
    if (box->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0)
        box->addItem(text);
}

QComboBox *AddToolBarSearchBox(QToolBar *toolBar, const std::function<void()> &search)
{
    toolBar->addAction(new CMyToolbarLabel(u"检索："_s, toolBar));
    auto *box = new QComboBox;
    box->setObjectName(u"searchBox"_s);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // A part of a number must stay a part: no completion from earlier searches.
    box->setCompleter(nullptr);
    box->setFixedWidth(100);
    toolBar->addWidget(box);
    QObject::connect(box->lineEdit(), &QLineEdit::returnPressed, toolBar, search);
    QObject::connect(box, &QComboBox::activated, toolBar, search);
    return box;
}

void AddSearchAndRefreshKeys(QWidget *frame, QComboBox *box, CBCGPADOGridCtrl *grid,
                             const std::function<void()> &refresh)
{
    const auto key = [frame](Qt::Key k, std::function<void()> run) {
        auto *shortcut = new QShortcut(QKeySequence(k), frame);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(shortcut, &QShortcut::activated, frame, std::move(run));
    };
    key(Qt::Key_F3, [box] {
        box->setFocus();
        box->lineEdit()->selectAll();
    });
    key(Qt::Key_F5, [grid, refresh] {
        if (grid->hasFocus())
            refresh();
        else
            grid->setFocus();
    });
}
