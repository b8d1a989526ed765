#include "personnel/ui/cdlgpsnwakeupmanage.h"

#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/stringtable.h"
#include "personnel/ui/backgroundjobs.h"
#include "personnel/ui/cdlgpsnwakeupitem.h"
#include "personnel/ui/cdlgpsnwakeupsetup.h"
#include "personnel/ui/frozencolumnview.h"
#include "personnel/wakeupservice.h"
#include "ui/app/messagebox.h"
#include "ui/frame/cmainframe.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

// The persons of one definition as read; dates shown without their time.
class WakeupPersonModel : public QAbstractTableModel
{
public:
    static constexpr int FirstShown = 3;

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(vantrel::db::RowSet rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    const vantrel::db::RowSet &rows() const { return m_rows; }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_rows.rowCount();
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_rows.fields.size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        // The first shown column (after PID, DID, AID) names the person: bold on a tint.
        if (index.column() == FirstShown && role == Qt::FontRole) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        if (index.column() == FirstShown && role == Qt::BackgroundRole)
            return QColor(0xe8, 0xf0, 0xfb);
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const QVariant value = m_rows.value(index.row(), index.column());
        if (value.typeId() == QMetaType::QDateTime)
            return value.toDateTime().date().toString(u"yyyy-MM-dd"_s);
        return value;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0
            || section >= m_rows.fields.size())
            return QAbstractTableModel::headerData(section, orientation, role);
        return m_rows.fields.at(section).name;
    }

private:
    vantrel::db::RowSet m_rows;
};

CMyWakeupGridView::CMyWakeupGridView(QWidget *parent) : CWakeupGridCtrl(parent)
{
    setColumnWidth(ColId, 20);
    setColumnWidth(ColTitle, 150);
    for (int column = ColCount; column < ColumnCount; ++column)
        setColumnWidth(column, 50);
}

CDlgPsnWakeupManage::CDlgPsnWakeupManage(CMainFrame *frame, int startRow, QWidget *parent)
    : CDialogExx(537, 0, parent)
    , m_frame(frame)
    , m_startRow(startRow)
    , m_toolBar(new QToolBar(this))
    , m_splitter(new QSplitter(Qt::Horizontal, this))
    , m_grid(new CMyWakeupGridView(m_splitter))
    , m_persons(new FrozenColumnView(m_splitter))
    , m_model(new WakeupPersonModel(this))
    , m_footer(new QLabel(this))
    , m_menu(new QMenu(this))
    , m_jobs(new BackgroundJobs(this))
{
    setWindowTitle(u"人事提醒"_s);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    m_persons->setObjectName(u"WakeupPersons"_s);
    m_persons->setModel(m_model);
    m_persons->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_persons->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_footer->setObjectName(u"WakeupFooter"_s);
    m_footer->setAutoFillBackground(true);
    m_footer->setStyleSheet(u"background: #fdf3d8; padding: 3px;"_s);
    m_splitter->setSizes({ 250, 600 });

    auto *right = new QWidget(m_splitter);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    rightLayout->addWidget(m_persons, 1);
    rightLayout->addWidget(m_footer);
    m_splitter->addWidget(right);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_splitter, 1);
    resize(850, 500);

    buildCommands();
    m_grid->installEventFilter(this);
    m_persons->installEventFilter(this);
    m_grid->viewport()->installEventFilter(this);
    m_persons->viewport()->installEventFilter(this);
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row) { showPersons(row); });
    if (m_frame)
        m_frame->setReminderManagerOpen(true);
    refill();
}

CDlgPsnWakeupManage::~CDlgPsnWakeupManage()
{
    if (m_frame)
        m_frame->setReminderManagerOpen(false);
}

bool CDlgPsnWakeupManage::isBusy() const
{
    return m_jobs->isBusy();
}

void CDlgPsnWakeupManage::buildCommands()
{
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    struct Command
    {
        QString label;
        QString menuText;
        void (CDlgPsnWakeupManage::*slot)();
    };
    const Command commands[] = {
        { u"添加"_s, u"添加(&A)"_s, &CDlgPsnWakeupManage::OnAdd },
        { u"修改"_s, u"修改(&E)"_s, &CDlgPsnWakeupManage::OnModify },
        { u"删除"_s, u"删除(&D)"_s, &CDlgPsnWakeupManage::OnDelete },
        { u"设置"_s, u"设置(&S)"_s, &CDlgPsnWakeupManage::OnSetup },
        { u"刷新"_s, u"刷新(&R)"_s, &CDlgPsnWakeupManage::OnRefresh },
        { u"退出"_s, u"退出(&C)"_s, nullptr },
    };
    for (const Command &command : commands) {
        QAction *button = m_toolBar->addAction(command.label);
        QAction *entry = m_menu->addAction(command.menuText);
        button->setToolTip(command.slot ? command.label : u"关闭窗口"_s);
        for (QAction *action : { button, entry }) {
            if (command.slot)
                connect(action, &QAction::triggered, this, command.slot);
            else
                connect(action, &QAction::triggered, this, &CDlgPsnWakeupManage::reject);
        }
    }
}

void CDlgPsnWakeupManage::refill()
{
    const QString connection = theDatabase.GetConnectionString();
    m_jobs->run<vantrel::Result<QVector<tagWAKEUPROW>>>(
        [connection](const std::atomic_bool &stop) {
            return CountWakeupRows(connection, QDate::currentDate(),
                                   QueryBound { WakeupQueryBoundMs, &stop });
        },
        [this](vantrel::Result<QVector<tagWAKEUPROW>> rows) {
            const QSignalBlocker quiet(m_grid);
            m_grid->FillWakeupGrid(rows ? *rows : QVector<tagWAKEUPROW> {});
            if (m_grid->rowCount() > 0) {
                const int row = qBound(0, m_startRow, m_grid->rowCount() - 1);
                m_grid->setCurrentCell(row, CWakeupGridCtrl::ColTitle);
                m_grid->setFocus();
                showPersons(row);
            }
            Q_EMIT countsShown();
        });
}

void CDlgPsnWakeupManage::showPersons(int row)
{
    if (row < 0 || row >= m_grid->rowCount())
        return;
    const tagWAKEUPITEM item = m_grid->itemAt(row);
    const QString connection = theDatabase.GetConnectionString();
    const int request = ++m_listRequest;
    m_jobs->run<vantrel::Result<WakeupPersonList>>(
        [connection, item](const std::atomic_bool &stop) {
            return ListWakeupPersons(connection, item, QDate::currentDate(),
                                     QueryBound { WakeupQueryBoundMs, &stop });
        },
        [this, request, item](vantrel::Result<WakeupPersonList> list) {
            // A later selection's list is on its way: this one is stale.
            if (request != m_listRequest)
                return;
            if (!list) {
                ShowMessage(this, u"计算提醒结果时出错！请检查提醒设置。"_s, u"提示"_s,
                            QMessageBox::Warning);
            } else if (!list->noCondition) {
                m_model->setRows(std::move(list->rows));
                for (int column = 0; column < WakeupPersonModel::FirstShown; ++column)
                    m_persons->setColumnHidden(column, true);
                for (int i = 0; i < list->widths.size(); ++i)
                    m_persons->setColumnWidth(i + WakeupPersonModel::FirstShown,
                                              list->widths.at(i));
                m_persons->freezeColumn(WakeupPersonModel::FirstShown);
                if (m_model->rowCount() > 0)
                    m_persons->selectRow(0);
                m_footer->setText(u"%1：%2 人"_s.arg(item.Title).arg(m_model->rowCount()));
            }
            Q_EMIT personsShown();
        });
}

bool CDlgPsnWakeupManage::selectedItem(tagWAKEUPITEM *item)
{
    const int row = m_grid->currentRow();
    if (row < 0) {
        ShowMessage(this, u"请选择项！"_s, u"提示"_s, QMessageBox::Information);
        return false;
    }
    *item = m_grid->itemAt(row);
    return true;
}

namespace {

// Saves the edited definition; true when it was saved (the failure already shown).
bool saveShown(QWidget *owner, const tagWAKEUPITEM &item)
{
    QString error;
    switch (SaveWakeupItem(theDatabase, item, nullptr, &error)) {
    case WakeupSave::Saved:
        return true;
    case WakeupSave::Vanished:
        ShowMessage(owner, LoadResString(133), u"提示"_s, QMessageBox::Information);
        return false;
    case WakeupSave::Failed:
        MessageBoxFormat(owner, error);
        return false;
    }
    return false;
}

} // namespace

void CDlgPsnWakeupManage::OnAdd()
{
    tagWAKEUPITEM fresh;
    fresh.BefDays = 1;
    editAndSave(fresh, u"人员档案[添加人事提醒项'%1']"_s);
}

void CDlgPsnWakeupManage::OnModify()
{
    tagWAKEUPITEM item;
    if (selectedItem(&item))
        editAndSave(item, u"人员档案[修改人事提醒项'%1']"_s);
}

void CDlgPsnWakeupManage::editAndSave(const tagWAKEUPITEM &item, const QString &logFormat)
{
    CDlgPsnWakeupItem editor(item, this);
    if (editor.exec() != QDialog::Accepted || !saveShown(this, editor.item()))
        return;
    theApp.WriteSystemLog(logFormat.arg(editor.item().Title), 0);
    refill();
}

void CDlgPsnWakeupManage::OnDelete()
{
    tagWAKEUPITEM item;
    if (!selectedItem(&item))
        return;
    if (ShowMessage(this, u"确定要删除提醒项'%1'吗?"_s.arg(item.Title), u"提示"_s,
                    QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    QString error;
    switch (DeleteWakeupItem(theDatabase, item.ID, &error)) {
    case WakeupSave::Saved:
        theApp.WriteSystemLog(u"人员档案[删除人事提醒项'%1']"_s.arg(item.Title), 0);
        break;
    case WakeupSave::Vanished:
        ShowMessage(this, LoadResString(133), u"提示"_s, QMessageBox::Information);
        break;
    case WakeupSave::Failed:
        MessageBoxFormat(this, error);
        return;
    }
    refill();
}

void CDlgPsnWakeupManage::OnSetup()
{
    CDlgPsnWakeupSetup setup(this);
    if (setup.exec() != QDialog::Accepted)
        return;
    theApp.WriteSystemLog(u"人员档案[修改人事提醒设置]"_s, 0);
    if (m_frame)
        m_frame->RestartWakeupTimer();
}

void CDlgPsnWakeupManage::OnRefresh()
{
    refill();
}

void CDlgPsnWakeupManage::togglePopup(const QPoint &at)
{
    if (m_menu->isVisible())
        m_menu->close();
    else
        m_menu->popup(at);
}

bool CDlgPsnWakeupManage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
        m_menu->popup(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab) {
            // Tab moves between the two lists, right then left.
            if (m_grid->hasFocus())
                m_persons->setFocus(Qt::TabFocusReason);
            else
                m_grid->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (key->key() == Qt::Key_Menu || key->key() == Qt::Key_Alt) {
            togglePopup(QCursor::pos());
            return true;
        }
    }
    return CDialogExx::eventFilter(watched, event);
}

void CDlgPsnWakeupManage::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Menu || event->key() == Qt::Key_Alt) {
        togglePopup(QCursor::pos());
        return;
    }
    CDialogExx::keyPressEvent(event);
}

void OpenWakeupManager(CMainFrame &frame, int startRow)
{
    CDlgPsnWakeupManage manager(&frame, startRow, &frame);
    manager.exec();
}
