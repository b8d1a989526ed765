#include "personnel/cpicture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

// Our formats by the reader's name; anything else is refused.
QString suffixOfFormat(const QByteArray &format)
{
    if (format == "jpeg" || format == "jpg")
        return u"jpg"_s;
    if (format == "png" || format == "gif" || format == "bmp" || format == "ico")
        return QString::fromLatin1(format);
    return {};
}

} // namespace

bool CPicture::Load(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return false;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QString suffix = suffixOfFormat(reader.format());
    if (suffix.isEmpty())
        return false;
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    m_bytes = bytes;
    m_image = image;
    m_suffix = suffix;
    return true;
}

bool CPicture::LoadFromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return Load(file.readAll());
}

bool CPicture::SaveToFile(const QString &path) const
{
    if (m_bytes.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(m_bytes) != m_bytes.size())
        return false;
    return file.commit();
}

void CPicture::Free()
{
    m_bytes.clear();
    m_image = QImage();
    m_suffix.clear();
}

void CPicture::Render(QPainter *painter, const QRect &target) const
{
    if (!IsEmpty())
        painter->drawImage(target, m_image);
}

void CPicture::Draw(QPainter *painter, const QPoint &topLeft) const
{
    if (!IsEmpty())
        painter->drawImage(topLeft, m_image);
}

QString CPicture::PathWithSuffix(const QString &path, const QString &suffix)
{
    if (suffix.isEmpty() || path.endsWith(u'.' + suffix, Qt::CaseInsensitive))
        return path;
    if (suffix == u"jpg"_s && path.endsWith(u".jpeg"_s, Qt::CaseInsensitive))
        return path;
    return path + u'.' + suffix;
}

QString CPicture::OpenFilter()
{
    return u"图片文件 (*.jpg *.jpeg *.gif *.bmp *.png *.ico);;所有文件 (*.*)"_s;
}
