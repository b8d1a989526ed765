#pragma once

#include <QLabel>

// Shows one of the program's bitmaps (res/bitmaps/<id>.png) with white drawn transparent,
// sized to the bitmap; "ERROR!" when the bitmap does not exist.
class CTransparentPic : public QWidget
{
    Q_OBJECT

public:
    explicit CTransparentPic(QWidget *parent = nullptr);

    void SetBitmap(int resourceId);
    int bitmapId() const { return m_id; }
    QSize sizeHint() const override;

    // The bitmap of the id with white made transparent; null when there is none.
    static QPixmap loadTransparent(int resourceId);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_id = 0;
    QPixmap m_pixmap;
};
