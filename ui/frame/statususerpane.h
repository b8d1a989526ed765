#pragma once

#include <QWidget>

class QLabel;

// The status bar's current-user pane: the user's picture and name. Before anyone is shown it
// reads "当前用户:" without a picture.
class StatusUserPane : public QWidget
{
    Q_OBJECT

public:
    explicit StatusUserPane(QWidget *parent = nullptr);

    void showUser(const QString &userName, bool superUser);

    QString text() const;
    // Whether the super user's picture shows; false before a user is shown too.
    bool showsSuperUser() const { return m_superUser; }

private:
    QLabel *m_icon;
    QLabel *m_text;
    bool m_superUser = false;
};
