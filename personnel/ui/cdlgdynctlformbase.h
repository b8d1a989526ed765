#pragma once

#include "personnel/dynform.h"
#include "ui/dialogs/cdialogexx.h"

#include <QPointer>
#include <QVector>

#include <functional>

class CBCGPADOGridCtrl;
class CDlgScrollable;
class CEditlblCtl;
class QFrame;
class QPushButton;

// One field of a generated form: the item, its field control (owned by the form or page that
// made it) and a spare value.
struct tagITEMCTRLINFO
{
    tagVANTRELITEMINFO info;
    CEditlblCtl *pCtrl = nullptr;
    QVariant value;
};
using CItemCtrlArray = QVector<tagITEMCTRLINFO>;

// What a field control holds, as the form model reads it (see FieldContent), and back.
// Links show the category or department name for the id; other links keep their text.
vantrel::personnel::FieldContent GetFieldContent(const CEditlblCtl *ctrl);
void SetFieldContent(CEditlblCtl *ctrl, const vantrel::personnel::FieldContent &content);

// Shared by the forms and the wizard pages, on any item array and host.
namespace vantrel::personnel::forms {
// Field controls for the items of a table on the host (defaults shown in add mode, iFlag 1
// items disabled otherwise). False when the items cannot be read.
bool LoadItems(CDlgScrollable *host, const QString &table, bool add, CItemCtrlArray &items);
// The typed value of a field; "'%s'为数值类型!" or the length message is shown (caption 提示)
// and the field focused when it does not convert.
bool SetItemValue(QWidget *owner, const tagITEMCTRLINFO &item, QVariant *value);
// Reports the first empty required field and focuses it: true when there was one.
bool CheckRequired(QWidget *owner, CDlgScrollable *host, const CItemCtrlArray &items);
// Two columns of 20-pixel rows, 30 apart, in the host's width.
void LayoutItems(CDlgScrollable *host, const CItemCtrlArray &items);
// Scrolls the host so the control shows with 10 pixels to spare.
void EnsureItemVisible(CDlgScrollable *host, QWidget *ctrl);
} // namespace vantrel::personnel::forms

// The modal form that edits one row of a table described in qz_Items: one labelled field per
// item in two columns on a scrolling host, the row loaded and saved by its key, stepped
// through the rows of the owner grid. The opener sets the public members before exec().
class CDlgDynCtlFormBase : public CDialogExx
{
    Q_OBJECT

public:
    explicit CDlgDynCtlFormBase(QWidget *parent = nullptr, int formNumber = 517, int subNumber = 0);
    ~CDlgDynCtlFormBase() override;

    QString m_strCaption;
    int m_nAddFlag = 0;
    int m_nMinTrackWidth = 500;
    int m_nMinTrackHeight = 100;
    QWidget *m_pOwnerWnd = nullptr;
    CBCGPADOGridCtrl *m_pOwnerGrid = nullptr;
    QString m_strTableName;
    int m_nKeyValue = 0;
    QString m_strKeyName;
    bool m_bModified = false;

    virtual bool LoadItems(const QString &table);
    virtual void LoadRecord();
    virtual bool SetItemValue(tagITEMCTRLINFO *item, QVariant *value);
    virtual bool CheckRequired();
    virtual bool SaveRecord();
    virtual void EnsureItemVisible(QWidget *ctrl);
    virtual void MovePrevious();
    virtual void MoveNext();
    virtual void MoveFirst();
    virtual void MoveLast();

    bool GetItemValueByName(const QString &name, QVariant *value);
    virtual void ResetItemDefaults();
    void LayoutItems();
    virtual void RecalcLayout();
    void OnNextItem(int index);

    const CItemCtrlArray &items() const { return m_items; }
    CDlgScrollable *host() const { return m_pHost; }
    QPushButton *saveButton() const { return m_pBtnSave; }
    QPushButton *navButton(int which) const { return m_pNav[which]; } // 0 first … 3 last

protected:
    // Once, before the form is first shown.
    virtual void OnInitDialog();
    // Checks and converts every field, then saves them through save: its messages are shown,
    // and after a success the form takes the row's key and counts as unchanged.
    using RowSaver = std::function<vantrel::personnel::FormSaveResult(
        const CItemInfoArray &infos, const vantrel::personnel::FieldContents &contents)>;
    bool SaveWith(const RowSaver &save);
    // The grid row to go to (-1: none) and the move itself.
    int targetRow(int which) const;
    virtual void MoveTo(int row);
    bool confirm(const QString &question);
    void showWarning(const QString &text);

    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // Page Up and Page Down step through the rows; true when the key was one of the form's.
    virtual bool handleNavigationKey(int key);

    CDlgScrollable *m_pHost;
    CItemCtrlArray m_items;
    QFrame *m_pSeparator;
    QPushButton *m_pNav[4];
    QPushButton *m_pBtnSave;
    QPushButton *m_pBtnExit;

private:
    bool m_bInitialised = false;
    // A key a field passed on already, so that it is not handled again on its way up.
    const QKeyEvent *m_pHandledKey = nullptr;
    quint64 m_nHandledKeyTime = 0;
};
