#include "ui/htmledit/chrproperties.h"

#include "core/util/stringtable.h"
#include "ui/dialogs/cdialogexx.h"
#include "ui/htmledit/htmlcolors.h"
#include "ui_chrproperties.h"

CHrProperties::CHrProperties(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CHrProperties>())
{
    m_ui->setupUi(this);
    CDialogExx::applyBackground(this);
    // The automatic entry stands for no colour at all: the rule keeps the browser's default.
    m_ui->color->setAutomatic(LoadResString(136), QColor());
    m_ui->color->setOtherLabel(LoadResString(137));
}

CHrProperties::~CHrProperties() = default;

void CHrProperties::showEvent(QShowEvent *event)
{
    m_ui->width->setText(m_width);
    m_ui->height->setText(m_height);
    m_ui->color->setColor(HtmlColors::fromHtmlText(m_color));
    m_ui->shade->setChecked(m_shade);
    QDialog::showEvent(event);
}

void CHrProperties::accept()
{
    m_color = m_ui->color->isAutomatic() ? QString() : HtmlColors::toHtmlText(m_ui->color->color());
    m_width = m_ui->width->text();
    m_height = m_ui->height->text();
    m_shade = m_ui->shade->isChecked();
    QDialog::accept();
}
