#include "ui/htmledit/ctableproperties.h"

#include "core/util/stringtable.h"
#include "ui/dialogs/cdialogexx.h"
#include "ui/htmledit/htmlcolors.h"
#include "ui_ctableproperties.h"

CTableProperties::CTableProperties(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CTableProperties>())
{
    m_ui->setupUi(this);
    CDialogExx::applyBackground(this);
    m_ui->bgColor->setAutomatic(LoadResString(136), Qt::white);
    m_ui->bgColor->setOtherLabel(LoadResString(137));
    m_ui->borderColor->setAutomatic(LoadResString(136), Qt::black);
    m_ui->borderColor->setOtherLabel(LoadResString(137));
}

CTableProperties::~CTableProperties() = default;

void CTableProperties::showEvent(QShowEvent *event)
{
    m_ui->border->setText(m_border);
    m_ui->borderColor->setColor(HtmlColors::fromHtmlText(m_borderColor));
    m_ui->bgColor->setColor(HtmlColors::fromHtmlText(m_bgColor));
    m_ui->cellPadding->setText(m_cellPadding);
    m_ui->cellSpacing->setText(m_cellSpacing);
    m_ui->width->setText(m_width);
    m_ui->height->setText(m_height);
    m_ui->rules->setCurrentIndex(m_rules);
    QDialog::showEvent(event);
}

void CTableProperties::accept()
{
    m_rules = m_ui->rules->currentIndex();
    m_bgColor = HtmlColors::toHtmlText(m_ui->bgColor->color());
    m_borderColor = HtmlColors::toHtmlText(m_ui->borderColor->color());
    m_border = m_ui->border->text();
    m_cellPadding = m_ui->cellPadding->text();
    m_cellSpacing = m_ui->cellSpacing->text();
    m_width = m_ui->width->text();
    m_height = m_ui->height->text();
    QDialog::accept();
}
