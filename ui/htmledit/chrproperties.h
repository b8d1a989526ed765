#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class CHrProperties;
}

// "水平线属性": the width, height, colour and shading of a horizontal rule. The caller fills
// the public members from the rule, runs the dialog and, after OK, writes them back.
class CHrProperties : public QDialog
{
    Q_OBJECT

public:
    explicit CHrProperties(QWidget *parent = nullptr);
    ~CHrProperties() override;

    // Pixels or per cent ("像素或%").
    QString m_width;
    // In: "#RRGGBB" as the rule gives it (anything else shows the default entry "缺省").
    // Out: six lower-case hex digits without "#", or empty for the default colour.
    QString m_color;
    // Pixels or per cent.
    QString m_height;
    // "阴影": the rule is drawn shaded.
    bool m_shade = true;

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::CHrProperties> m_ui;
};
