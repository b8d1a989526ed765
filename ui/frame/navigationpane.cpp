#include "ui/frame/navigationpane.h"

#include "ui/frame/framecommands.h"
#include "ui/frame/framecommandtable.h"
#include "ui/frame/frameicons.h"

#include <QToolBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

using namespace Qt::StringLiterals;

namespace {

struct Group
{
    QStringView name;
    int tabImage;
    int rootRight;
};

struct Button
{
    int group;
    QStringView label;
    int command;
    int image;
    int right; // the button shows only to a user who holds it
};

constexpr std::array<Group, 3> groups = { {
    { u"人事管理", 8, 0 },
    { u"薪资管理", 9, 16 },
    { u"系统管理", 10, 33 },
} };

constexpr int SuperOnly = FrameCommandTable::SuperUserOnly;

// clang-format off
constexpr std::array<Button, 15> buttons = { {
    { 0, u"人员档案", 2100,  0,  0 },
    { 0, u"调动管理", 2101,  1,  11 },
    { 0, u"离职管理", 2104,  2,  12 },
    { 0, u"统计分析", 33249, 3,  14 },
    { 0, u"人事提醒", 33222, 5,  15 },
    { 1, u"薪资档案", 33158, 7,  16 },
    { 1, u"薪资汇总", 2201,  8,  31 },
    { 1, u"帐套设置", 2202,  9,  32 },
    { 2, u"组织机构", 33188, 10, 34 },
    { 2, u"人员类别", 33189, 11, 35 },
    { 2, u"数据结构", 33174, 12, 36 },
    { 2, u"基础档案", 33171, 13, 37 },
    { 2, u"系统设置", 2300,  14, 38 },
    { 2, u"操作员",   2301,  15, SuperOnly },
    { 2, u"系统日志", 2302,  16, SuperOnly },
} };
// clang-format on

} // namespace

NavigationPane::NavigationPane(FrameCommands &commands, QWidget *parent)
    : QDockWidget(u"功能导航"_s, parent), m_commands(commands), m_groups(new QToolBox(this))
{
    setObjectName(u"NavigationPane"_s);
    // Docked at the left or right edge; the View menu shows and hides it.
    setFeatures(QDockWidget::DockWidgetMovable);
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    // Wide enough for the group names beside their pictures.
    m_groups->setMinimumWidth(140);
    setWidget(m_groups);
    BuildNavigationGroups();
}

void NavigationPane::BuildNavigationGroups()
{
    m_commands.updateStates();
    while (m_groups->count() > 0) {
        QWidget *page = m_groups->widget(0);
        m_groups->removeItem(0);
        delete page;
    }
    for (int g = 0; g < int(groups.size()); ++g) {
        if (!FrameCommandTable::userHolds(groups[g].rootRight))
            continue;
        m_groups->addItem(createGroupPage(g), FrameIcons::navigationGroup(groups[g].tabImage),
                          groups[g].name.toString());
    }
}

QWidget *NavigationPane::createGroupPage(int group)
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setSpacing(2);
    for (const Button &b : buttons) {
        if (b.group != group || !FrameCommandTable::userHolds(b.right))
            continue;
        auto *button = new QToolButton(page);
        button->setText(b.label.toString());
        button->setToolTip(b.label.toString());
        button->setIcon(FrameIcons::navigationButton(b.image));
        button->setIconSize(QSize(32, 32));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setProperty("command", b.command);
        m_commands.bind(button, b.command);
        layout->addWidget(button);
    }
    layout->addStretch(1);
    return page;
}

QStringList NavigationPane::groupNames() const
{
    QStringList names;
    for (int i = 0; i < m_groups->count(); ++i)
        names << m_groups->itemText(i);
    return names;
}

QStringList NavigationPane::buttonLabels(int group) const
{
    QStringList labels;
    if (QWidget *page = m_groups->widget(group)) {
        for (const QToolButton *button :
             page->findChildren<QToolButton *>(Qt::FindDirectChildrenOnly))
            labels << button->text();
    }
    return labels;
}
