#include "ui/controls/cmyhtmlview.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QUrl>

using namespace Qt::StringLiterals;

CMyHtmlView::CMyHtmlView(QWidget *parent) : QWebEngineView(parent)
{
    // The tick count names the file; the counter keeps two views of one millisecond apart.
    static QAtomicInt counter;
    m_strTempFile = QDir(QDir::tempPath())
                        .filePath(u"%1-%2.htm"_s.arg(QDateTime::currentMSecsSinceEpoch())
                                      .arg(counter.fetchAndAddRelaxed(1)));
    load(QUrl(u"about:blank"_s));
}

CMyHtmlView::~CMyHtmlView()
{
    QFile::remove(m_strTempFile);
}

QByteArray CMyHtmlView::ToAsciiHtml(const QString &html)
{
    QByteArray bytes;
    bytes.reserve(html.size());
    for (const char32_t code : html.toUcs4()) {
        if (code == 0)
            break;
        if (code < 0x7F)
            bytes.append(char(code));
        else
            bytes.append("&#x" + QByteArray::number(uint(code), 16).toUpper().rightJustified(4, '0')
                         + ';');
    }
    return bytes;
}

bool CMyHtmlView::ShowHtml(const QString &html)
{
    QFile file(m_strTempFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(ToAsciiHtml(html));
    file.close();
    load(QUrl::fromLocalFile(m_strTempFile));
    return true;
}
