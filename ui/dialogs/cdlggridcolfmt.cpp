#include "ui/dialogs/cdlggridcolfmt.h"

#include "core/util/stringtable.h"
#include "ui/controls/cbcgpadogridctrl.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QList<QColor> standardColors { Qt::black,   Qt::darkGray,    Qt::gray,   Qt::white,
                                     Qt::red,     Qt::darkRed,     Qt::green,  Qt::darkGreen,
                                     Qt::blue,    Qt::darkBlue,    Qt::cyan,   Qt::darkCyan,
                                     Qt::magenta, Qt::darkMagenta, Qt::yellow, Qt::darkYellow };

QIcon swatch(const QColor &color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color.isValid() ? color : QColor(Qt::transparent));
    QPainter painter(&pixmap);
    painter.drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

} // namespace

CDlgGridColFmt::CDlgGridColFmt(CBCGPADOGridCtrl *grid, QWidget *parent)
    : CDialogExx(0, 0, parent)
    , m_pGrid(grid)
    , m_pTextColor(makeColorButton(u"文本颜色"_s, false))
    , m_pBackColor(makeColorButton(u"背景颜色"_s, true))
    , m_pBold(new QCheckBox(u"粗体文本(&B)"_s, this))
{
    setWindowTitle(u"列格式"_s);
    auto *form = new QFormLayout(this);
    form->addRow(u"文本颜色:"_s, m_pTextColor);
    form->addRow(u"背景颜色:"_s, m_pBackColor);
    form->addRow(m_pBold);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgGridColFmt::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgGridColFmt::reject);
    connect(m_pBold, &QCheckBox::clicked, this, [this] { applyToGrid(choice()); });
}

QToolButton *CDlgGridColFmt::makeColorButton(const QString &text, bool background)
{
    auto *button = new QToolButton(this);
    button->setToolTip(text);
    button->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(button);
    const auto choose = [this, background](const QColor &color) {
        if (background)
            ChooseBackgroundColor(color);
        else
            ChooseTextColor(color);
    };
    menu->addAction(LoadResString(136), this, [choose] { choose(QColor()); });
    menu->addSeparator();
    for (const QColor &color : standardColors)
        menu->addAction(swatch(color), color.name(), this, [choose, color] { choose(color); });
    menu->addSeparator();
    menu->addAction(LoadResString(137), this, [this, choose, background] {
        const QColor color = QColorDialog::getColor(background ? m_chosenBack : m_chosenText, this);
        if (color.isValid())
            choose(color);
    });
    button->setMenu(menu);
    showColor(button, QColor());
    return button;
}

void CDlgGridColFmt::showColor(QToolButton *button, const QColor &color)
{
    button->setIcon(swatch(color));
    button->setText(color.isValid() ? color.name() : LoadResString(136));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

void CDlgGridColFmt::SetColumnTitle(const QString &title)
{
    setWindowTitle(u"列显示格式 - [%1]"_s.arg(title));
}

void CDlgGridColFmt::SetFormat(const RecordsetGridModel::ColumnFormat &format)
{
    m_format = format;
    m_chosenText = format.text;
    m_chosenBack = format.background;
    m_pBold->setChecked(format.bold);
    showColor(m_pTextColor, m_chosenText);
    showColor(m_pBackColor, m_chosenBack);
}

RecordsetGridModel::ColumnFormat CDlgGridColFmt::choice() const
{
    return { m_chosenText, m_chosenBack, m_pBold->isChecked() };
}

void CDlgGridColFmt::ChooseTextColor(const QColor &color)
{
    m_chosenText = color;
    showColor(m_pTextColor, color);
    applyToGrid(choice());
}

void CDlgGridColFmt::ChooseBackgroundColor(const QColor &color)
{
    m_chosenBack = color;
    showColor(m_pBackColor, color);
    applyToGrid(choice());
}

void CDlgGridColFmt::SetBold(bool bold)
{
    m_pBold->setChecked(bold);
    applyToGrid(choice());
}

void CDlgGridColFmt::applyToGrid(const RecordsetGridModel::ColumnFormat &format)
{
    if (!m_pGrid || !m_pGrid->currentIndex().isValid())
        return;
    m_pGrid->GetGridModel()->setColumnFormat(m_pGrid->currentIndex().column(), format);
    m_pGrid->viewport()->update();
}

void CDlgGridColFmt::accept()
{
    m_format = choice();
    CDialogExx::accept();
}

void CDlgGridColFmt::reject()
{
    applyToGrid(m_format);
    CDialogExx::reject();
}
