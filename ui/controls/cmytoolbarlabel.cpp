#include "ui/controls/cmytoolbarlabel.h"

#include <QLabel>

CMyToolbarLabel::CMyToolbarLabel(const QString &caption, QObject *parent) : QWidgetAction(parent)
{
    setText(caption);
}

QWidget *CMyToolbarLabel::createWidget(QWidget *parent)
{
    auto *label = new QLabel(text(), parent);
    label->setMargin(2);
    // The disabled look is the enabled one.
    QPalette pal = label->palette();
    for (const auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        pal.setColor(QPalette::Disabled, role, pal.color(QPalette::Active, role));
    label->setPalette(pal);
    connect(this, &QAction::changed, label, [this, label] { label->setText(text()); });
    return label;
}
