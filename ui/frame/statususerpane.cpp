#include "ui/frame/statususerpane.h"

#include "core/util/stringtable.h"
#include "ui/frame/frameicons.h"

#include <QHBoxLayout>
#include <QLabel>

using namespace Qt::StringLiterals;

StatusUserPane::StatusUserPane(QWidget *parent)
    : QWidget(parent), m_icon(new QLabel(this)), m_text(new QLabel(LoadResString(105), this))
{
    setObjectName(u"StatusUserPane"_s);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(4);
    layout->addWidget(m_icon);
    layout->addWidget(m_text, 1);
    setMinimumWidth(100);
}

void StatusUserPane::showUser(const QString &userName, bool superUser)
{
    m_superUser = superUser;
    m_icon->setPixmap(FrameIcons::user(superUser));
    m_text->setText(userName);
}

QString StatusUserPane::text() const
{
    return m_text->text();
}
