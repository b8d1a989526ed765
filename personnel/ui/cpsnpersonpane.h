#pragma once

#include "personnel/cpersonbase.h"
#include "personnel/ui/ipersonpane.h"

#include <QDockWidget>

class QLabel;

// A docking pane of the personnel frame that so far only names the current person; the
// photo, attachments and related-archive panes take its place as they come.
class CPsnPersonPane : public QDockWidget, public IPersonPane
{
    Q_OBJECT

public:
    CPsnPersonPane(const QString &title, const QString &objectName, QWidget *parent = nullptr);

    void SetCurrentPerson(const CPersonBase &person) override;
    const CPersonBase &GetPerson() const { return m_person; }
    // The widget that takes the focus (F7 to F9).
    QWidget *MainControl() const;

private:
    CPersonBase m_person;
    QLabel *m_pLabel;
};
