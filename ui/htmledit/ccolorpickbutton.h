#pragma once

#include <QColor>
#include <QToolButton>

class QGridLayout;

// A button that shows a colour and offers in its menu an automatic entry (a caller's default,
// which may stand for "no colour"), a palette of common colours and an entry that opens the
// colour dialog.
class CColorPickButton : public QToolButton
{
    Q_OBJECT

public:
    explicit CColorPickButton(QWidget *parent = nullptr);

    // The automatic entry's label and the colour it stands for (invalid: no colour at all).
    void setAutomatic(const QString &label, const QColor &color);
    void setOtherLabel(const QString &label);

    // An invalid colour selects the automatic entry.
    void setColor(const QColor &color);
    // The colour shown: the automatic entry's colour while that is chosen.
    QColor color() const;
    bool isAutomatic() const { return m_automatic; }

Q_SIGNALS:
    void colorChanged();

private:
    void buildMenu();
    void addPalette(QGridLayout *grid);
    void pick(const QColor &color);
    void pickOther();
    void refresh();

    QColor m_color;
    QColor m_automaticColor;
    bool m_automatic = true;
    QAction *m_automaticAction = nullptr;
    QAction *m_otherAction = nullptr;
};
