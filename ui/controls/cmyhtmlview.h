#pragma once

#include <QString>
#include <QWebEngineView>

// A browser view that shows HTML text given to it. The text goes through a temporary file
// (removed with the view) written as plain ASCII: every character from 0x7F up becomes a
// hexadecimal character reference, so the page shows the same whatever encoding it declares.
class CMyHtmlView : public QWebEngineView
{
    Q_OBJECT

public:
    explicit CMyHtmlView(QWidget *parent = nullptr);
    ~CMyHtmlView() override;

    // False when the temporary file cannot be written.
    bool ShowHtml(const QString &html);
    QString GetTempFilePath() const { return m_strTempFile; }

    // The bytes ShowHtml writes: ASCII below 0x7F as is, anything else as "&#xHHHH;" (whole
    // code points), up to the first zero character.
    static QByteArray ToAsciiHtml(const QString &html);

private:
    QString m_strTempFile;
};
