#include "ui/frame/framecommands.h"

#include "core/app/currentuser.h"
#include "ui/app/rightcheck.h"
#include "core/app/vantrelapp.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/framecommandtable.h"
#include "ui/frame/modulecommands.h"

#include <QAbstractButton>
#include <QAction>

using namespace Qt::StringLiterals;

namespace {

constexpr int DataStructureCommand = 33174;

} // namespace

FrameCommands::FrameCommands(CMainFrame *frame) : QObject(frame), m_frame(frame)
{
    for (const FrameCommandTable::Command &command : FrameCommandTable::all()) {
        auto *action = new QAction(command.menuText.toString(), frame);
        action->setData(command.id);
        if (!command.shortcut.isEmpty()) {
            action->setShortcut(QKeySequence(command.shortcut.toString()));
            action->setShortcutContext(Qt::WindowShortcut);
        }
        connect(action, &QAction::triggered, this, [this, id = command.id] { run(id); });
        frame->addAction(action);
        m_actions.insert(command.id, action);
    }
    connect(&ModuleCommands::instance(), &ModuleCommands::openersChanged, this,
            &FrameCommands::updateStates);
    updateStates();
}

QAction *FrameCommands::action(int id) const
{
    return m_actions.value(id);
}

void FrameCommands::setHandler(int id, std::function<void()> handler)
{
    m_handlers.insert(id, std::move(handler));
    updateStates();
}

void FrameCommands::setToggle(int id, std::function<bool()> state, std::function<void()> handler)
{
    if (QAction *a = action(id))
        a->setCheckable(true);
    m_toggleStates.insert(id, std::move(state));
    setHandler(id, std::move(handler));
}

void FrameCommands::updateStates()
{
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        const FrameCommandTable::Command *command = FrameCommandTable::find(it.key());
        const bool available = m_handlers.value(it.key()) != nullptr
            || ModuleCommands::instance().hasOpener(it.key());
        it.value()->setEnabled(available && FrameCommandTable::userHolds(command->enabledRule));
        if (const auto state = m_toggleStates.value(it.key()))
            it.value()->setChecked(state());
    }
}

void FrameCommands::run(int id)
{
    QAction *a = action(id);
    if (!a || !a->isEnabled())
        return;
    if (const auto handler = m_handlers.value(id))
        handler();
    else
        runModuleOpener(id);
    updateStates();
}

void FrameCommands::runModuleOpener(int id)
{
    const ModuleCommands::Opener opener = ModuleCommands::instance().opener(id);
    if (!opener)
        return;
    if (FrameCommandTable::checksConnection(id) && !theApp.CheckConnection())
        return;
    const int right = FrameCommandTable::find(id)->right;
    if (right == FrameCommandTable::SuperUserOnly && !theCurrentUser.ISuper)
        return; // refused without a word
    if (right >= 0 && !CheckRightWithMessage(right, theApp, true))
        return;
    // The data structure changes under every open window: they all close first.
    if (id == DataStructureCommand && !m_frame->CloseAllChildren())
        return;
    opener(*m_frame);
}

QAction *FrameCommands::createProxy(int id, QObject *parent) const
{
    QAction *command = action(id);
    Q_ASSERT(command);
    auto *proxy = new QAction(command->text(), parent);
    proxy->setData(id);
    const auto follow = [command, proxy] {
        proxy->setCheckable(command->isCheckable());
        proxy->setEnabled(command->isEnabled());
        proxy->setChecked(command->isChecked());
    };
    follow();
    connect(command, &QAction::changed, proxy, follow);
    connect(proxy, &QAction::triggered, command, [command] { command->trigger(); });
    return proxy;
}

void FrameCommands::bind(QAbstractButton *button, int id) const
{
    QAction *command = action(id);
    Q_ASSERT(command);
    button->setEnabled(command->isEnabled());
    connect(command, &QAction::changed, button,
            [command, button] { button->setEnabled(command->isEnabled()); });
    connect(button, &QAbstractButton::clicked, command, [command] { command->trigger(); });
}
