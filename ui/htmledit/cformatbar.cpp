#include "ui/htmledit/cformatbar.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontDatabase>

using namespace Qt::StringLiterals;

namespace {

bool isDroppedDown(const QComboBox *box)
{
    return box->view() && box->view()->isVisible();
}

void selectFirstBeginningWith(QComboBox *box, const QString &text)
{
    for (int i = 0; i < box->count(); ++i) {
        if (box->itemText(i).startsWith(text, Qt::CaseInsensitive)) {
            box->setCurrentIndex(i);
            return;
        }
    }
}

} // namespace

CFormatBar::CFormatBar(QWidget *parent)
    : QToolBar(parent), m_fontName(new QComboBox(this)), m_fontSize(new QComboBox(this))
{
    const QFont guiFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    m_fontName->setEditable(true);
    m_fontName->setInsertPolicy(QComboBox::InsertAlphabetically);
    m_fontName->setFixedWidth(150);
    m_fontName->setFont(guiFont);
    QStringList families = QFontDatabase::families();
    families.removeDuplicates();
    families.sort(Qt::CaseInsensitive);
    m_fontName->addItems(families);
    m_fontName->setCurrentIndex(-1);

    m_fontSize->setFixedWidth(50);
    m_fontSize->setFont(guiFont);
    for (int size = 1; size <= 7; ++size)
        m_fontSize->addItem(QString::number(size));
    m_fontSize->setCurrentIndex(-1);

    addWidget(m_fontName);
    addWidget(m_fontSize);
}

void CFormatBar::showSelectionFont(const QString &face, int size)
{
    if (!isDroppedDown(m_fontName) && !face.isEmpty() && face != m_fontName->currentText())
        selectFirstBeginningWith(m_fontName, face);
    if (!isDroppedDown(m_fontSize))
        selectFirstBeginningWith(m_fontSize, QString::number(size));
}
