#pragma once

#include "core/query/itemmetadata.h"

#include <QPointer>
#include <QWidget>

class CDateTimeCtrl;
class QKeyEvent;

// The labelled field of the generated entry forms: one item (one column as qz_Items describes
// it) on one line, its caption in the left third and an editor for its data type in the right
// two thirds. A required item (bNotNull) has a red "*" before its editor and a caption 8 pixels
// narrower. Editors by type: number and text a line edit; date a CDateTimeCtrl that may be empty
// unless the item is required; dictionary and link a picker chosen by IdRef (compared in upper
// case): QZ_PSNSORT.NAME / QZ_PSNSORT.AID categories, QZ_DEPT.NAME / QZ_DEPT.DID departments,
// QZ_PSNBASE.NAME persons, any other dictionary code that dictionary. Other types, and links
// to anything else, get no editor.
//
// The focus goes straight to the editor, whose whole text is then selected. The owner (the
// form) hears of changes and of Enter through the signals; clicks on the caption go on to the
// parent widget as Qt passes unhandled mouse events on.
class CEditlblCtl : public QWidget
{
    Q_OBJECT

public:
    // The record is copied; later changes to the form's record do not reach the control.
    CEditlblCtl(const tagVANTRELITEMINFO &item, int index, QWidget *parent = nullptr);

    // The date editor when there is one, else the main editor; null for types without one.
    QWidget *GetEditCtrl() const;
    CDateTimeCtrl *GetDateCtrl() const { return m_pDateEditor; }
    QWidget *GetMainCtrl() const { return m_pMainEditor; }

    const tagVANTRELITEMINFO &itemInfo() const { return m_item; }
    int itemIndex() const { return m_nIndex; }
    // Where the editor stands, in the control's coordinates.
    QRect editorRect() const { return m_rcEditor; }
    static QRect EditorRect(const QRect &client);

Q_SIGNALS:
    // WM_EDITLBL_NEXTITEM: Enter was pressed in the field (not in an open list).
    void nextItem(int index);
    // WM_DATA_CHANGED: the editor's content changed.
    void dataChanged();
    // Page Up, Page Down, Home and End, which the form also uses; the editor still gets them.
    void ownerKey(QKeyEvent *event);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createEditor();
    QWidget *createPicker();
    void layoutEditor();

    tagVANTRELITEMINFO m_item;
    int m_nIndex;
    QRect m_rcEditor;
    QPointer<QWidget> m_pMainEditor;
    QPointer<CDateTimeCtrl> m_pDateEditor;
};
