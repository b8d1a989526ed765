#pragma once

#include "ui/dialogs/tagprogressinfo.h"

#include <QDialog>
#include <QPointer>

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;

// A progress window for long work on the user-interface thread: the caller creates it, works
// in steps, sets the position, calls PumpMessages between steps so that the program stays
// responsive, and stops when IsCancelled(). Cancel never closes the window; the caller
// destroys it (DestroyWindow or the destructor), which gives the owner its input back.
class CProgressDlg : public QDialog
{
    Q_OBJECT

public:
    CProgressDlg();
    ~CProgressDlg() override;

    // Shows the window over the owner; with disableOwner the owner takes no input until the
    // window goes. False when there is nothing to show it over.
    virtual bool Create(const tagProgressInfo &info, QWidget *owner);
    // Handles what is waiting (never waits itself). False when the window is gone or the
    // program is quitting; the quit request is kept for the main loop.
    virtual bool PumpMessages();
    // Moves the bar and writes "<n> %": (position − low) × 100 / (high − low); a value past
    // 100 shows modulo 100. An empty range shows 100 % once the position reaches it, else 0 %.
    virtual void SetPos(int position);
    void StepIt() { SetPos(m_nPosition + m_info.step); }
    int GetPos() const { return m_nPosition; }
    void SetStatus(const QString &text);
    bool IsCancelled() const { return m_bCancelled; }
    // Takes a press of Cancel as handled, so that the next press counts again.
    void ClearCancel() { m_bCancelled = false; }
    virtual void ReEnableParent();
    void DestroyWindow();

    QString GetPercentText() const;
    const tagProgressInfo &GetInfo() const { return m_info; }

protected:
    // Paints the header band (headerHeight pixels at the top); nothing by default.
    virtual void PaintHeader(QPainter &painter, const QRect &rect);
    void paintEvent(QPaintEvent *event) override;
    void reject() override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();

    tagProgressInfo m_info;
    bool m_bCancelled = false;
    bool m_bQuitSeen = false;
    QPointer<QWidget> m_pDisabledOwner;
    int m_nPosition = 0;
    QLabel *m_pStatus;
    QProgressBar *m_pBar;
    QLabel *m_pPercent;
    QFrame *m_pSeparator;
    QLabel *m_pSecond;
    QPushButton *m_pCancel;
};
