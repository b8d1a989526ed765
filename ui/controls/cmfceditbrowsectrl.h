#pragma once

#include <QLineEdit>

class QToolButton;

// An edit box with a browse button at its right end. The button takes no focus; a click on it
// calls OnBrowse, which derived controls override.
class CMFCEditBrowseCtrl : public QLineEdit
{
    Q_OBJECT

public:
    explicit CMFCEditBrowseCtrl(QWidget *parent = nullptr);

    // Shows (or hides) the button with the label.
    void EnableBrowseButton(bool enable = true, const QString &label = QStringLiteral("..."));
    QToolButton *browseButton() const { return m_pButton; }

    virtual void OnBrowse() { }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeButton();

    QToolButton *m_pButton;
};
