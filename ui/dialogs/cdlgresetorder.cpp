#include "ui/dialogs/cdlgresetorder.h"

#include "core/app/vantrelapp.h"
#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/util/stringtable.h"
#include "ui/app/messagebox.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/dialogs/cdialogexx.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CDlgResetOrder::CDlgResetOrder(QWidget *parent)
    : QDialog(parent)
    , m_pToolBar(new QToolBar(this))
    , m_pGrid(new CBCGPADOGridCtrl(this))
    , m_pFooter(new QLabel(this))
{
    CDialogExx::applyBackground(this);
    setWindowTitle(u"调序"_s);
    buildToolBar();

    m_pGrid->SetReadOnly(true);
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pGrid->setSortingEnabled(false);
    m_pGrid->SetRowHeaderWidth(40);
    m_pGrid->horizontalHeader()->setStretchLastSection(true);
    m_pGrid->installEventFilter(this);

    QPalette footer = m_pFooter->palette();
    footer.setColor(QPalette::Window, CDialogExx::backgroundColor());
    m_pFooter->setPalette(footer);
    m_pFooter->setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_pToolBar);
    layout->addWidget(m_pGrid, 1);
    layout->addWidget(m_pFooter);
    resize(480, 420);
}

CDlgResetOrder::~CDlgResetOrder() = default;

void CDlgResetOrder::buildToolBar()
{
    const auto add = [this](const QString &text, const QString &tip, auto slot) {
        QAction *action = m_pToolBar->addAction(text, this, slot);
        action->setToolTip(tip);
    };
    add(u"置顶"_s, u"移至顶部(Ctrl+Shift+Home)"_s, &CDlgResetOrder::MoveToTop);
    add(u"置底"_s, u"移至底部(Ctrl+Shift+End)"_s, &CDlgResetOrder::MoveToBottom);
    m_pToolBar->addSeparator();
    add(u"向上"_s, u"上移(Ctrl+Shift+Up)"_s, &CDlgResetOrder::MoveUp);
    add(u"向下"_s, u"下移(Ctrl+Shift+Down)"_s, &CDlgResetOrder::MoveDown);
    m_pToolBar->addSeparator();
    add(u"刷新"_s, u"刷新列表"_s, &CDlgResetOrder::Refresh);
    m_pToolBar->addSeparator();
    add(u"退出"_s, u"关闭窗口"_s, &QDialog::accept);
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
}

void CDlgResetOrder::SetList(const QString &listQuery, int keyColumn, int orderColumn,
                             const OrderColumns &order, const QVariantList &listValues)
{
    m_strListQuery = listQuery;
    m_listValues = listValues;
    m_nKeyColumn = keyColumn;
    m_nOrderColumn = orderColumn;
    m_order = order;
}

void CDlgResetOrder::SetRenumberStatement(const QString &sql, const QVariantList &values)
{
    m_strRenumberSql = sql;
    m_renumberValues = values;
}

void CDlgResetOrder::SetCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void CDlgResetOrder::SetProcedures(const QString &listProcedure, const QString &renumberProcedure,
                                   const QVariantList &arguments)
{
    m_strListProcedure = listProcedure;
    m_strRenumberProcedure = renumberProcedure;
    m_procedureArguments = arguments;
}

namespace {

void addArguments(CADOCommand &command, const QVariantList &arguments)
{
    for (int i = 0; i < arguments.size(); ++i)
        command.AddParameterVariant(u"p%1"_s.arg(i + 1), adVariant, adParamInput, 0,
                                    arguments.at(i));
}

} // namespace

QString CDlgResetOrder::GetFooterText() const
{
    return m_pFooter->text();
}

void CDlgResetOrder::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_bLoaded) {
        m_bLoaded = true;
        LoadRows();
    }
}

bool CDlgResetOrder::LoadRows()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pGrid->Close();
    bool ok = m_pGrid->OpenConnection(theApp.m_strConnection);
    if (ok && !m_strListProcedure.isEmpty()) {
        CADOCommand command(m_pGrid->GetConnection(), m_strListProcedure);
        addArguments(command, m_procedureArguments);
        ok = m_pGrid->OpenCommand(command);
    } else if (ok) {
        ok = m_pGrid->OpenSQL(m_strListQuery, m_listValues);
    }
    QApplication::restoreOverrideCursor();
    if (!ok)
        m_pGrid->Close();
    m_pFooter->setText(u"共 计：%1 条记录"_s.arg(m_pGrid->GetRowCount()));
    m_pGrid->setColumnHidden(m_nKeyColumn, true);
    m_pGrid->setColumnHidden(m_nOrderColumn, true);
    if (m_pGrid->GetRowCount() > 0)
        m_pGrid->SetCurSel(0, firstShownColumn());
    return ok;
}

int CDlgResetOrder::firstShownColumn() const
{
    for (int column = 0; column < m_pGrid->GetGridModel()->columnCount(); ++column) {
        if (!m_pGrid->isColumnHidden(column))
            return column;
    }
    return 0;
}

int CDlgResetOrder::keyOfRow(int row) const
{
    return m_pGrid->GetFieldValue(row, m_nKeyColumn).toInt();
}

int CDlgResetOrder::selectedRow()
{
    const QModelIndexList rows = m_pGrid->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        ShowMessage(this, LoadResString(111), LoadResString(117), QMessageBox::Information);
        return -1;
    }
    return rows.first().row();
}

void CDlgResetOrder::finishMove(const vantrel::Status &status, int key)
{
    if (!status) {
        // The move ran in one transaction: nothing was written, the grid is as it was.
        ShowMessage(this, u"调序没有保存，顺序保持不变。\n\n"_s + status.error(),
                    LoadResString(117), QMessageBox::Warning);
        return;
    }
    m_bChanged = true;
    LoadRows();
    for (int row = 0; row < m_pGrid->GetRowCount(); ++row) {
        if (keyOfRow(row) == key) {
            m_pGrid->SetCurSel(row, firstShownColumn());
            break;
        }
    }
}

void CDlgResetOrder::MoveToTop()
{
    const int row = selectedRow();
    if (row <= 0)
        return;
    const vantrel::Result<int> moved = MoveOrderToTop(m_order, keyOfRow(row));
    finishMove(moved ? vantrel::Status() : vantrel::Status::failure(moved.error()), keyOfRow(row));
}

void CDlgResetOrder::MoveToBottom()
{
    const int row = selectedRow();
    if (row < 0 || row == m_pGrid->GetRowCount() - 1)
        return;
    const vantrel::Result<int> moved = MoveOrderToBottom(m_order, keyOfRow(row));
    finishMove(moved ? vantrel::Status() : vantrel::Status::failure(moved.error()), keyOfRow(row));
}

void CDlgResetOrder::MoveUp()
{
    const int row = selectedRow();
    if (row <= 0)
        return;
    finishMove(ExchangeOrder(m_order, keyOfRow(row), keyOfRow(row - 1)), keyOfRow(row));
}

void CDlgResetOrder::MoveDown()
{
    const int row = selectedRow();
    if (row < 0 || row == m_pGrid->GetRowCount() - 1)
        return;
    finishMove(ExchangeOrder(m_order, keyOfRow(row), keyOfRow(row + 1)), keyOfRow(row));
}

void CDlgResetOrder::Refresh()
{
    if (!m_strRenumberProcedure.isEmpty()) {
        CADOCommand command(&theDatabase, m_strRenumberProcedure);
        addArguments(command, m_procedureArguments);
        if (!command.Execute())
            return;
    } else {
        if (m_strRenumberSql.isEmpty())
            return;
        // A statement, or a registered procedure taking the values in order.
        CADOCommand command(&theDatabase, m_strRenumberSql, adCmdText);
        for (const QVariant &value : std::as_const(m_renumberValues))
            command.AddParameterVariant({}, adVariant, adParamInput, 0, value);
        if (!command.Execute())
            return;
    }
    m_bChanged = true;
    LoadRows();
}

bool CDlgResetOrder::handleMoveKey(const QKeyEvent *key)
{
    const Qt::KeyboardModifiers both = Qt::ControlModifier | Qt::ShiftModifier;
    if ((key->modifiers() & both) != both)
        return false;
    switch (key->key()) {
    case Qt::Key_Home:
        MoveToTop();
        return true;
    case Qt::Key_End:
        MoveToBottom();
        return true;
    case Qt::Key_Up:
        MoveUp();
        return true;
    case Qt::Key_Down:
        MoveDown();
        return true;
    default:
        return false;
    }
}

bool CDlgResetOrder::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pGrid && event->type() == QEvent::KeyPress
        && handleMoveKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void CDlgResetOrder::keyPressEvent(QKeyEvent *event)
{
    if (!handleMoveKey(event))
        QDialog::keyPressEvent(event);
}
