#pragma once

#include <QToolBar>

class QComboBox;

// The format bar of the template editor: a font-name box (every font family, editable, sorted)
// and a font-size box with the HTML sizes "1" to "7", both without a selection at first. The
// owner adds its buttons around them and applies the boxes' choices to the editor.
class CFormatBar : public QToolBar
{
    Q_OBJECT

public:
    explicit CFormatBar(QWidget *parent = nullptr);

    QComboBox *fontNameBox() const { return m_fontName; }
    QComboBox *fontSizeBox() const { return m_fontSize; }

    // Lets the boxes follow the selection of the editor: each box whose list is not dropped
    // down selects its first entry that begins with the face (without regard to case) or with
    // the size; a face or size without such an entry leaves the box as it is.
    void showSelectionFont(const QString &face, int size);

private:
    QComboBox *m_fontName;
    QComboBox *m_fontSize;
};
