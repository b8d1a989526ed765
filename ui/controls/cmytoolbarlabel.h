#pragma once

#include <QWidgetAction>

// A toolbar entry that is only a caption (such as "检索："): no image, and never greyed, even
// while its command is disabled.
class CMyToolbarLabel : public QWidgetAction
{
    Q_OBJECT

public:
    explicit CMyToolbarLabel(const QString &caption = {}, QObject *parent = nullptr);

protected:
    QWidget *createWidget(QWidget *parent) override;
};
