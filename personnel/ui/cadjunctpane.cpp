#include "personnel/ui/cadjunctpane.h"

#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/profile.h"
#include "core/util/stringtable.h"
#include "personnel/psnfiles.h"
#include "personnel/ui/personpane.h"
#include "ui/app/messagebox.h"
#include "ui/app/rightcheck.h"
#include "ui/controls/cmylistctrl.h"
#include "ui/controls/filedialogs.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QDrag>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <utility>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

const QString ViewSection = u"AdjListView"_s;
const QString ViewKey = u"Style"_s;
constexpr int IdRole = Qt::UserRole;
constexpr int NameRole = Qt::UserRole + 1; // the stored name, for a label edit to fall back on

QMimeType mimeOf(const QString &name)
{
    static const QMimeDatabase mimes;
    return mimes.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
}

QIcon iconOf(const QString &name)
{
    static const QFileIconProvider provider;
    const QMimeType mime = mimeOf(name);
    return QIcon::fromTheme(
        mime.iconName(),
        QIcon::fromTheme(mime.genericIconName(), provider.icon(QAbstractFileIconProvider::File)));
}

} // namespace

CAdjunctPane::CAdjunctPane(QWidget *parent)
    : QDockWidget(u"附件"_s, parent)
    , m_pToolBar(new CPaneToolBar)
    , m_pList(new CMyListCtrl)
    , m_pViews(new QActionGroup(this))
    , m_nViewStyle(Profile::getInt(ViewSection, ViewKey, IdViewIcons))
{
    setObjectName(u"AdjunctPane"_s);
    m_pToolBar->setObjectName(u"ToolBar352"_s);
    m_pToolBar->SetOwner(this);
    const auto add = [this](int id, const QString &text, void (CAdjunctPane::*slot)()) {
        connect(m_pToolBar->AddCommand(id, text), &QAction::triggered, this, slot);
    };
    add(IdAdd, u"添加(&A)"_s, &CAdjunctPane::OnFileAdd);
    add(IdRename, u"更名(&E)"_s, &CAdjunctPane::OnFileRename);
    add(IdDelete, u"删除(&D)"_s, &CAdjunctPane::OnFileDelete);
    add(IdSaveAs, u"另存为(&S)..."_s, &CAdjunctPane::OnFileSaveAs);
    add(IdRefresh, u"刷新(&R)"_s, &CAdjunctPane::OnRefresh);
    const std::pair<int, QString> views[] = { { IdViewIcons, u"图标(&N)"_s },
                                              { IdViewList, u"列表(&L)"_s },
                                              { IdViewDetails, u"详细信息(&T)"_s } };
    for (const auto &[id, text] : views) {
        QAction *view = m_pViews->addAction(text);
        view->setData(id);
        view->setCheckable(true);
        connect(view, &QAction::triggered, this, [this, id = id] { OnViewStyle(id); });
    }

    m_pList->setObjectName(u"AdjunctList"_s);
    m_pList->setColumnCount(4);
    m_pList->setHeaderLabels({ u"名称"_s, u"大小"_s, u"日期"_s, u"类型"_s });
    const int widths[] = { 120, 80, 100, 30 };
    for (int column = 0; column < 4; ++column)
        m_pList->setColumnWidth(column, widths[column]);
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pList->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_pList->setFocusPolicy(Qt::StrongFocus);
    connect(m_pList, &CMyListCtrl::dropFileAdd, this, &CAdjunctPane::onDropFileAdd);
    connect(m_pList, &CMyListCtrl::listBeginDrag, this, &CAdjunctPane::onBeginDrag);
    connect(m_pList, &CMyListCtrl::listEndLabelEdit, this, &CAdjunctPane::onEndLabelEdit);
    connect(m_pList, &CMyListCtrl::listDblClk, this, [this] { OnFileRename(); });
    connect(m_pList, &QTreeWidget::itemSelectionChanged, m_pToolBar, &CPaneToolBar::UpdateCmdUI);

    setWidget(panes::PaneBody(m_pToolBar, m_pList));

    m_dragRunner = [this](QMimeData *files) {
        auto *drag = new QDrag(m_pList);
        drag->setMimeData(files);
        return drag->exec(Qt::MoveAction, Qt::MoveAction);
    };
    applyViewStyle();
    m_pToolBar->UpdateCmdUI();
}

CAdjunctPane::~CAdjunctPane()
{
    Profile::writeInt(ViewSection, ViewKey, m_nViewStyle);
    removeEmptyDragFolders();
}

void CAdjunctPane::removeEmptyDragFolders()
{
    m_dragFolders.removeIf([](const QString &path) { return QDir().rmdir(path); });
}

QAction *CAdjunctPane::action(int id) const
{
    if (QAction *command = m_pToolBar->command(id))
        return command;
    for (QAction *view : m_pViews->actions()) {
        if (view->data().toInt() == id)
            return view;
    }
    return nullptr;
}

QWidget *CAdjunctPane::MainControl() const
{
    return m_pList;
}

bool CAdjunctPane::IsPaneCommandEnabled(int id) const
{
    const bool person = m_person.PID > 0;
    switch (id) {
    case IdAdd:
    case IdRefresh:
        return person;
    case IdRename:
    case IdDelete:
    case IdSaveAs:
        return person && !m_pList->selectedItems().isEmpty();
    default:
        return true;
    }
}

void CAdjunctPane::SetCurrentPerson(const CPersonBase &person)
{
    m_person = person;
    if (person.PID <= 0)
        m_pList->clear();
    else
        LoadFiles();
    m_pToolBar->UpdateCmdUI();
}

void CAdjunctPane::LoadFiles()
{
    if (m_person.PID <= 0)
        return;
    const vantrel::Result<QVector<PsnFileRow>> files = LoadPsnFiles(theDatabase, m_person.PID);
    if (!files)
        return;
    m_pList->setUpdatesEnabled(false);
    m_pList->clear();
    for (const PsnFileRow &file : *files) {
        auto *item = new QTreeWidgetItem(m_pList);
        item->setText(0, file.Name);
        item->setIcon(0, iconOf(file.Name));
        item->setText(1, file.FileSize);
        item->setText(2, file.AddDate.toString(u"yyyy-MM-dd HH:mm"_s));
        item->setText(3, mimeOf(file.Name).comment());
        item->setData(0, IdRole, file.ID);
        item->setData(0, NameRole, file.Name);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    m_pList->setUpdatesEnabled(true);
    m_pToolBar->UpdateCmdUI();
}

void CAdjunctPane::log(const QString &detail) const
{
    theApp.WriteSystemLog(u"人员档案[\"%1(%2)\"->%3]"_s.arg(m_person.Name, m_person.Number, detail),
                          0);
}

void CAdjunctPane::addFiles(const QStringList &paths)
{
    QStringList problems;
    for (const QString &path : paths) {
        const PsnFileAdd added = AddPsnFile(theDatabase, m_person.PID, path);
        switch (added.outcome) {
        case PsnFileAdd::Added:
            log(u"附件添加'%1'"_s.arg(added.Name));
            break;
        case PsnFileAdd::Empty:
            break;
        case PsnFileAdd::TooLarge:
            problems << u"文件'%1'超过100 MB,不能作为附件。"_s.arg(added.Name);
            break;
        case PsnFileAdd::Unreadable:
            problems << u"文件'%1'不能读取: %2"_s.arg(added.Name, added.error);
            break;
        case PsnFileAdd::Failed:
            problems << u"添加附件'%1'出错!\n%2"_s.arg(added.Name, added.error);
            break;
        }
    }
    LoadFiles();
    if (!problems.isEmpty())
        ShowMessage(this, problems.join(u'\n'), LoadResString(117), QMessageBox::Warning);
}

void CAdjunctPane::OnFileAdd()
{
    if (!CheckRightWithMessage(3, theApp, false) || m_person.PID <= 0
        || !panes::PersonStillThere(this, m_person.PID))
        return;
    const QStringList paths
        = vantrel::ui::GetOpenFileNames(this, QString(), QString(), u"All Files (*)"_s);
    if (paths.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    addFiles(paths);
    QApplication::restoreOverrideCursor();
}

void CAdjunctPane::onDropFileAdd(const QString &path)
{
    // The list reports a drop file by file; they are taken together once the drop is over.
    if (m_pendingDrops.isEmpty())
        QTimer::singleShot(0, this, [this] { AddDroppedFiles(std::exchange(m_pendingDrops, {})); });
    m_pendingDrops << path;
}

void CAdjunctPane::AddDroppedFiles(const QStringList &paths)
{
    if (paths.isEmpty() || !CheckRightWithMessage(3, theApp, false) || m_person.PID <= 0
        || !panes::PersonStillThere(this, m_person.PID))
        return;
    addFiles(paths);
}

QList<QTreeWidgetItem *> CAdjunctPane::selectedFiles() const
{
    // In the list's order, so that questions and logs follow what the user sees.
    QList<QTreeWidgetItem *> items;
    for (int i = 0; i < m_pList->topLevelItemCount(); ++i) {
        if (m_pList->topLevelItem(i)->isSelected())
            items << m_pList->topLevelItem(i);
    }
    return items;
}

void CAdjunctPane::OnFileSaveAs()
{
    const QList<QTreeWidgetItem *> items = selectedFiles();
    if (m_person.PID <= 0 || items.isEmpty())
        return;
    const QString name = items.first()->data(0, NameRole).toString();
    const QString path = vantrel::ui::GetSaveFileName(this, QString(), name, u"All Files (*)"_s,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path)
        && ShowMessage(this, u"%1 已经存在。\r\n要替换它吗？"_s.arg(path), u"文件覆盖"_s,
                       QMessageBox::Question, QMessageBox::Yes | QMessageBox::No)
            != QMessageBox::Yes)
        return;
    const vantrel::Result<bool> saved
        = SavePsnFileAs(theDatabase, items.first()->data(0, IdRole).toInt(), m_person.PID, path);
    if (!saved) {
        ShowMessage(this, u"附件'%1'不能保存到%2:\n%3"_s.arg(name, path, saved.error()),
                    LoadResString(117), QMessageBox::Warning);
        return;
    }
    log(u"附件另存'%1'"_s.arg(QFileInfo(path).fileName()));
}

void CAdjunctPane::onBeginDrag()
{
    const QList<QTreeWidgetItem *> items = selectedFiles();
    if (m_person.PID <= 0 || items.isEmpty())
        return;
    // The copies stay when the target takes them (it moves them away); a refused drop
    // removes them again.
    QTemporaryDir folder(QDir::temp().filePath(u"vantrel-drag-XXXXXX"_s));
    if (!folder.isValid())
        return;
    folder.setAutoRemove(false);
    QList<QUrl> urls;
    for (QTreeWidgetItem *item : items) {
        const QString name = item->data(0, NameRole).toString();
        const QString path = QDir(folder.path()).filePath(name);
        if (!SavePsnFileAs(theDatabase, item->data(0, IdRole).toInt(), m_person.PID, path))
            continue;
        log(u"附件另存'%1'"_s.arg(name));
        urls << QUrl::fromLocalFile(path);
    }
    if (urls.isEmpty()) {
        QDir(folder.path()).removeRecursively();
        return;
    }
    auto *files = new QMimeData;
    files->setUrls(urls);
    if (m_dragRunner(files) == Qt::IgnoreAction) {
        QDir(folder.path()).removeRecursively();
        return;
    }
    // A target in another program may move the files out only after the drag has ended; the
    // folder goes once it is empty, at the latest when the pane goes.
    m_dragFolders << folder.path();
    removeEmptyDragFolders();
}

void CAdjunctPane::OnFileRename()
{
    if (!CheckRightWithMessage(3, theApp, false))
        return;
    const QList<QTreeWidgetItem *> items = selectedFiles();
    if (m_person.PID <= 0 || items.isEmpty())
        return;
    m_pList->setFocus();
    m_pList->setCurrentItem(items.first(), 0, QItemSelectionModel::NoUpdate);
    m_pList->editItem(items.first(), 0);
}

void CAdjunctPane::onEndLabelEdit(QTreeWidgetItem *item, int column)
{
    if (!item || column != 0)
        return;
    const QString oldName = item->data(0, NameRole).toString();
    const QString newName = item->text(0).trimmed();
    if (newName.isEmpty() || newName == oldName || m_person.PID <= 0) {
        item->setText(0, oldName);
        return;
    }
    const vantrel::Result<bool> renamed
        = RenamePsnFile(theDatabase, item->data(0, IdRole).toInt(), m_person.PID, newName);
    if (!renamed || !*renamed) {
        item->setText(0, oldName);
        ShowMessage(
            this,
            u"附件'%1'不能更名:\n%2"_s.arg(oldName, renamed ? LoadResString(133) : renamed.error()),
            LoadResString(117), QMessageBox::Warning);
        return;
    }
    item->setText(0, newName);
    item->setData(0, NameRole, newName);
    item->setIcon(0, iconOf(newName));
    item->setText(3, mimeOf(newName).comment());
    log(u"附件更名'%1'->'%2'"_s.arg(oldName, newName));
}

void CAdjunctPane::OnFileDelete()
{
    if (!CheckRightWithMessage(3, theApp, false))
        return;
    const QList<QTreeWidgetItem *> items = selectedFiles();
    if (m_person.PID <= 0 || items.isEmpty())
        return;
    if (ShowMessage(this, u"确定要清除选择的 %1 个附件吗？"_s.arg(items.size()), LoadResString(117),
                    QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    QStringList problems;
    for (QTreeWidgetItem *item : items) {
        const QString name = item->data(0, NameRole).toString();
        const vantrel::Result<bool> deleted
            = DeletePsnFile(theDatabase, item->data(0, IdRole).toInt(), m_person.PID);
        if (deleted && *deleted)
            log(u"附件删除'%1'"_s.arg(name));
        else
            problems << u"附件'%1'没有删除: %2"_s.arg(
                name, deleted ? LoadResString(133) : deleted.error());
    }
    LoadFiles();
    if (!problems.isEmpty())
        ShowMessage(this, problems.join(u'\n'), LoadResString(117), QMessageBox::Warning);
}

void CAdjunctPane::OnRefresh()
{
    LoadFiles();
}

void CAdjunctPane::OnViewStyle(int id)
{
    if (id != IdViewIcons && id != IdViewList && id != IdViewDetails)
        return;
    m_nViewStyle = id;
    applyViewStyle();
}

void CAdjunctPane::applyViewStyle()
{
    if (m_nViewStyle != IdViewList && m_nViewStyle != IdViewDetails)
        m_nViewStyle = IdViewIcons;
    const bool details = m_nViewStyle == IdViewDetails;
    // Icons and list show the names only; the details add size, date and type.
    m_pList->setHeaderHidden(!details);
    for (int column = 1; column < 4; ++column)
        m_pList->setColumnHidden(column, !details);
    const int extent = m_nViewStyle == IdViewIcons ? 32 : 16;
    m_pList->setIconSize(QSize(extent, extent));
    for (QAction *view : m_pViews->actions())
        view->setChecked(view->data().toInt() == m_nViewStyle);
}

void CAdjunctPane::contextMenuEvent(QContextMenuEvent *event)
{
    m_pToolBar->UpdateCmdUI();
    QMenu menu(this);
    menu.addActions(m_pToolBar->commands());
    menu.addSeparator();
    menu.addActions(m_pViews->actions());
    menu.exec(event->globalPos());
}
