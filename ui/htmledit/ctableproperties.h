#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class CTableProperties;
}

// "表格属性": border, colours, cell padding and spacing, size and frame rules of a table. The
// caller fills the public members from the table, runs the dialog and, after OK, writes them
// back. Colours come in as "#RRGGBB" (other texts show the default entry "缺省") and go out
// as six lower-case hex digits without "#", always: the default background is white, the
// default border black.
class CTableProperties : public QDialog
{
    Q_OBJECT

public:
    explicit CTableProperties(QWidget *parent = nullptr);
    ~CTableProperties() override;

    QString m_border; // pixels
    QString m_borderColor;
    QString m_bgColor;
    QString m_cellPadding; // "单元格衬距", pixels
    QString m_cellSpacing; // "单元格间距", pixels
    QString m_width;       // pixels or per cent
    QString m_height;      // pixels or per cent
    // 0 "全部", 1 "水平线及边框", 2 "竖直线及边框", 3 "仅边框".
    int m_rules = 0;

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::CTableProperties> m_ui;
};
