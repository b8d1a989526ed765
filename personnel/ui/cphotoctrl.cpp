#include "personnel/ui/cphotoctrl.h"

#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/stringtable.h"
#include "personnel/psnentry.h"
#include "personnel/ui/cdlgvidcap.h"
#include "ui/app/messagebox.h"
#include "ui/controls/filedialogs.h"

#include <QFile>
#include <QPainter>

using namespace Qt::StringLiterals;

static void initPersonnelResources()
{
    Q_INIT_RESOURCE(personnel);
}

CPhotoCtrl::CPhotoCtrl(QWidget *parent) : QWidget(parent)
{
    static const bool resources = (initPersonnelResources(), true);
    Q_UNUSED(resources);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    ShowNoPhoto();
}

void CPhotoCtrl::LoadPhoto(int pid)
{
    m_person.PID = pid;
    m_bChanged = false;
    const vantrel::Result<QByteArray> stored = vantrel::personnel::ReadPsnPhoto(theDatabase, pid);
    if (!stored)
        return;
    if (stored->isEmpty() || !m_picture.Load(*stored))
        ShowNoPhoto();
    else
        m_bPlaceholder = false;
    update();
}

bool CPhotoCtrl::SetPhotoFromBytes(const QByteArray &bytes)
{
    if (bytes.isEmpty() || !m_picture.Load(bytes)) {
        ShowMessage(this, u"设置照片时出错。\r\n请选择正确的图片格式和大小。"_s, LoadResString(117),
                    QMessageBox::Critical);
        return false;
    }
    m_bPlaceholder = false;
    m_bChanged = true;
    update();
    Q_EMIT dataChanged();
    return true;
}

bool CPhotoCtrl::SetPhotoFromFile(const QString &path)
{
    QFile file(path);
    return SetPhotoFromBytes(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
}

bool CPhotoCtrl::SetPhotoFromFile(QIODevice *file)
{
    return SetPhotoFromBytes(file->readAll());
}

void CPhotoCtrl::ShowNoPhoto()
{
    m_picture.LoadFromResource(u":/IMAGE/356"_s);
    m_bPlaceholder = true;
    update();
}

void CPhotoCtrl::ClearPhoto()
{
    ShowNoPhoto();
    m_bChanged = true;
    Q_EMIT dataChanged();
}

std::optional<QByteArray> CPhotoCtrl::pendingPhoto() const
{
    if (!m_bChanged)
        return std::nullopt;
    return m_bPlaceholder ? QByteArray() : m_picture.bytes();
}

void CPhotoCtrl::StorePhoto()
{
    const std::optional<QByteArray> pending = pendingPhoto();
    if (!pending || m_person.PID <= 0)
        return;
    vantrel::db::DbTransaction transaction(theDatabase);
    const vantrel::Result<bool> written
        = vantrel::personnel::WritePsnPhoto(theDatabase, m_person.PID, *pending);
    if (!written || !transaction.commit())
        return;
    m_bChanged = false;
    theApp.WriteSystemLog(
        u"人员档案[\"%1(%2)\"->照片%3]"_s.arg(m_person.Name, m_person.Number,
                                              pending->isEmpty() ? u"清除"_s : u"更新"_s),
        0);
}

void CPhotoCtrl::OpenPhotoFile()
{
    const QString path
        = vantrel::ui::GetOpenFileName(this, QString(), QString(), CPicture::OpenFilter());
    if (path.isEmpty() || !SetPhotoFromFile(path))
        return;
    if (m_bStoreAtOnce)
        StorePhoto();
}

void CPhotoCtrl::TakeCameraPhoto()
{
    CDlgVidCap dialog(this);
    dialog.m_pTarget = this;
    dialog.exec();
}

void CPhotoCtrl::SavePhotoAs()
{
    if (m_bPlaceholder)
        return;
    const QString path
        = vantrel::ui::GetSaveFileName(this, QString(), QString(), u"All Files (*.*)"_s);
    if (!path.isEmpty())
        SavePhotoTo(path);
}

bool CPhotoCtrl::SavePhotoTo(const QString &path)
{
    if (m_bPlaceholder || !m_picture.SaveToFile(CPicture::PathWithSuffix(path, m_picture.suffix())))
        return false;
    theApp.WriteSystemLog(u"人员档案[\"%1(%2)\"->照片另存]"_s.arg(m_person.Name, m_person.Number),
                          0);
    return true;
}

void CPhotoCtrl::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    m_picture.Draw(&painter, QPoint(0, 0));
}
