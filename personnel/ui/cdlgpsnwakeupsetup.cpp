#include "personnel/ui/cdlgpsnwakeupsetup.h"

#include "core/app/constants.h"
#include "core/util/profile.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CDlgPsnWakeupSetup::CDlgPsnWakeupSetup(QWidget *parent)
    : CDialogExx(0, 0, parent)
    , m_enable(new QCheckBox(u"启用人事提醒弹出窗功能(&E)"_s, this))
    , m_before(new QLabel(u"提醒窗每"_s, this))
    , m_minutes(new QSpinBox(this))
    , m_after(new QLabel(u"分钟弹出一次"_s, this))
{
    setWindowTitle(u"人事提醒设置"_s);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    m_minutes->setRange(0, 1000);
    m_enable->setChecked(Profile::getInt({}, QString::fromUtf16(strEnableWakeup), 1) != 0);
    m_minutes->setValue(Profile::getInt({}, QString::fromUtf16(strWakeupPerTime), 60));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_enable);
    auto *period = new QHBoxLayout;
    period->addWidget(m_before);
    period->addWidget(m_minutes);
    period->addWidget(m_after);
    period->addStretch();
    layout->addLayout(period);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgPsnWakeupSetup::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgPsnWakeupSetup::reject);
    connect(m_enable, &QCheckBox::toggled, this, &CDlgPsnWakeupSetup::enableMinutes);
    enableMinutes();
}

void CDlgPsnWakeupSetup::enableMinutes()
{
    const bool on = m_enable->isChecked();
    m_before->setEnabled(on);
    m_minutes->setEnabled(on);
    m_after->setEnabled(on);
}

void CDlgPsnWakeupSetup::accept()
{
    Profile::writeInt({}, QString::fromUtf16(strEnableWakeup), m_enable->isChecked() ? 1 : 0);
    Profile::writeInt({}, QString::fromUtf16(strWakeupPerTime), qMax(1, m_minutes->value()));
    CDialogExx::accept();
}
