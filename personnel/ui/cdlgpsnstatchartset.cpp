#include "personnel/ui/cdlgpsnstatchartset.h"

#include "ui/controls/chartpalettes.h"
#include "ui/controls/cmychartview.h"
#include "ui/controls/crotationctrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

bool isPieType(int type)
{
    return type == ChartPie2D || type == ChartPie3D;
}

bool hasRotation(int type)
{
    return isPieType(type) || type == ChartColumns3D || type == ChartBars3D;
}

} // namespace

CDlgPsnStatChartSet::CDlgPsnStatChartSet(IPsnStatChartOwner *owner, int chartType, int colorTheme,
                                         int fillGradientType, bool showDataLabels, QWidget *parent)
    : CDialogExx(0, 0, parent)
    , m_pOwner(owner)
    , m_themeBox(new QComboBox(this))
    , m_rotation(new CRotationCtrl(this))
    , m_fillBox(new QComboBox(this))
    , m_labelsBox(new QCheckBox(u"显示数据标签(&L)"_s, this))
    , m_resetButton(new QPushButton(u"重置(&R)"_s, this))
    , m_nChartType(chartType)
    , m_nColorTheme(colorTheme)
    , m_nFillGradientType(fillGradientType)
    , m_bShowDataLabels(showDataLabels)
{
    setWindowTitle(u"图表设置"_s);
    m_themeBox->addItems(ChartThemeNames());
    m_themeBox->setCurrentIndex(m_nColorTheme);
    m_fillBox->addItems(ChartFillNames());
    m_fillBox->setCurrentIndex(m_nFillGradientType);
    m_labelsBox->setChecked(m_bShowDataLabels);
    m_rotation->setPartEnabled(1, false);
    m_rotation->setPartEnabled(7, false);

    auto *ok = new QPushButton(u"确定"_s, this);
    ok->setDefault(true);
    auto *form = new QFormLayout;
    form->addRow(u"颜色主题："_s, m_themeBox);
    form->addRow(u"渐变样式："_s, m_fillBox);
    form->addRow(m_labelsBox);
    auto *pad = new QHBoxLayout;
    pad->addStretch();
    pad->addWidget(m_rotation);
    pad->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_resetButton);
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(pad);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CDlgPsnStatChartSet::accept);
    connect(m_themeBox, &QComboBox::activated, this, &CDlgPsnStatChartSet::OnApply);
    connect(m_fillBox, &QComboBox::activated, this, &CDlgPsnStatChartSet::OnApply);
    connect(m_labelsBox, &QCheckBox::clicked, this, &CDlgPsnStatChartSet::OnApply);
    connect(m_rotation, &CRotationCtrl::partClicked, this, &CDlgPsnStatChartSet::OnRotate);
    connect(m_resetButton, &QPushButton::clicked, this, &CDlgPsnStatChartSet::OnReset);

    // The pad takes a fixed band of the window; charts that do not turn go without it.
    m_rotation->setFixedHeight(padHeight - layout->spacing());
    const QSize full = sizeHint().expandedTo(QSize(300, 0));
    if (hasRotation(m_nChartType)) {
        setFixedSize(full);
    } else {
        m_rotation->hide();
        setFixedSize(full.width(), full.height() - padHeight);
    }
    UpdateRotationParts();
}

void CDlgPsnStatChartSet::UpdateRotationParts()
{
    if (!isPieType(m_nChartType))
        return;
    for (int part : { 1, 3, 5, 7 })
        m_rotation->setPartEnabled(part, false);
    m_rotation->setPartEnabled(0, m_nChartType == ChartPie3D);
    m_rotation->setPartEnabled(4, m_nChartType == ChartPie3D);
    m_rotation->update();
}

void CDlgPsnStatChartSet::UpdateData()
{
    m_nColorTheme = m_themeBox->currentIndex();
    m_nFillGradientType = m_fillBox->currentIndex();
    m_bShowDataLabels = m_labelsBox->isChecked();
}

void CDlgPsnStatChartSet::OnRotate(int part)
{
    UpdateData();
    m_pOwner->RotateChart(part, rotationStep, rotationStep, perspectiveStep);
}

void CDlgPsnStatChartSet::OnApply()
{
    UpdateData();
    m_pOwner->ApplyChartSettings(m_nColorTheme, m_nFillGradientType, m_bShowDataLabels);
}

void CDlgPsnStatChartSet::OnReset()
{
    m_themeBox->setCurrentIndex(0);
    m_fillBox->setCurrentIndex(0);
    m_labelsBox->setChecked(true);
    if (CMyChartView *chart = m_pOwner->chartView())
        chart->ResetRotation();
    OnApply();
}
