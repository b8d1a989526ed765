#pragma once

#include "ui/controls/cmfceditbrowsectrl.h"
#include "ui/controls/combogridhook.h"

#include <QPointer>

class QAbstractItemView;

// What the tree and grid pickers share: an edit that drops a list window below itself (right-
// aligned, inside the screen's work area, upwards when less than half the list fits below) and
// behaves towards its dialog like a drop-down-list combo box.
//
// The keyboard focus stays in the edit while the list is shown; the list never takes it. Keys
// the list needs (arrows, Page keys, type-ahead) are passed on to it. While dropped: Alt+Up, F4
// and Enter accept, Escape cancels (and gives back the text the edit had when the list
// opened), Tab and Shift+Tab accept and move on. While closed: Alt+Down and F4 open the list.
// The list closes without a choice when the edit loses the focus, the application is left,
// or the dialog is moved or clicked elsewhere (the ComboGridHook on the watched window).
//
// Every notification is the signal comboNotify with one of the codes below.
class CEditBrowseDropCtrl : public CMFCEditBrowseCtrl
{
    Q_OBJECT

public:
    enum Notification {
        CBN_SELCHANGE = 1,    // the selection in the dropped tree moved
        CBN_DBLCLK = 2,       // an entry of the list was double-clicked (acceptance follows)
        CBN_KILLFOCUS = 4,    // the list lost the user's attention (cancellation follows)
        CBN_DROPDOWN = 7,     // the list has been shown
        CBN_SELENDOK = 9,     // an entry was accepted and its text put into the edit
        CBN_SELENDCANCEL = 10 // the list was closed without accepting
    };

    // The watched window is the one whose moves and outside clicks close the list; null: the
    // edit's window.
    explicit CEditBrowseDropCtrl(QWidget *wndWatch = nullptr, QWidget *parent = nullptr);
    ~CEditBrowseDropCtrl() override;

    // Opens the list when closed, cancels it when shown.
    void OnBrowse() override;
    // CBN_SELENDCANCEL, then the list hides and the edit gets back its text.
    virtual void CancelDropDown();
    // Puts the chosen entry into the edit (CBN_SELENDOK) and hides the list.
    virtual void AcceptDropDown() = 0;

    bool IsDropped() const { return m_bDropped; }
    bool IsHighlighted() const { return m_bHighlighted; }
    // A read-only picker opens its list on any click, shows no caret and the arrow cursor, and
    // shows an accepted choice in the selection colours while it keeps the focus.
    void SetPickerReadOnly(bool readOnly);
    bool IsPickerReadOnly() const { return isReadOnly(); }

    // In pixels: the list is at least as wide as the edit and this; at most this high.
    void SetMinDropWidth(int width) { m_nMinDropWidth = width; }
    int GetMinDropWidth() const { return m_nMinDropWidth; }
    void SetMaxDropHeight(int height) { m_nMaxDropHeight = height; }
    int GetMaxDropHeight() const { return m_nMaxDropHeight; }

    // The list window's place for an edit rectangle and a list size, both on the screen.
    static QRect DropDownRect(const QRect &edit, const QSize &size, const QRect &workArea);

    void Notify(int code) { Q_EMIT comboNotify(code); }

Q_SIGNALS:
    void comboNotify(int code);

protected:
    virtual QWidget *DropWindow() const = 0;
    // The view that receives the keys passed on while the list is shown.
    virtual QAbstractItemView *DropControl() const = 0;
    virtual int DropHeight() const = 0;
    // Passes a key to the list; true when the edit should not see it too.
    virtual bool ForwardKey(QKeyEvent *event);
    virtual void OnDropShown() { }

    void ShowDropDown();
    void HideDropDown();

    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool handleKey(QKeyEvent *event);
    void closeByUser();
    void updateLook();

    QPointer<QWidget> m_pWndWatch;
    ComboGridHook m_hook;
    bool m_bFocusLost = true;
    bool m_bHighlighted = false;
    bool m_bDropped = false;
    int m_nMinDropWidth = 200;
    int m_nMaxDropHeight = 400;
    QString m_strTextBeforeDrop;
};
