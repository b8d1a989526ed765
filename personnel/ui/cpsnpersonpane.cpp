#include "personnel/ui/cpsnpersonpane.h"

#include <QLabel>

using namespace Qt::StringLiterals;

CPsnPersonPane::CPsnPersonPane(const QString &title, const QString &objectName, QWidget *parent)
    : QDockWidget(title, parent), m_pLabel(new QLabel)
{
    setObjectName(objectName);
    m_pLabel->setAlignment(Qt::AlignCenter);
    m_pLabel->setFocusPolicy(Qt::StrongFocus);
    setWidget(m_pLabel);
}

void CPsnPersonPane::SetCurrentPerson(const CPersonBase &person)
{
    m_person = person;
    m_pLabel->setText(person.PID < 0 ? QString() : person.Number + u' ' + person.Name);
}

QWidget *CPsnPersonPane::MainControl() const
{
    return m_pLabel;
}
