#include "ui/frame/modulecommands.h"

ModuleCommands &ModuleCommands::instance()
{
    static ModuleCommands registry;
    return registry;
}

void ModuleCommands::registerOpener(int commandId, Opener opener)
{
    if (!opener) {
        unregisterOpener(commandId);
        return;
    }
    m_openers.insert(commandId, std::move(opener));
    Q_EMIT openersChanged();
}

void ModuleCommands::unregisterOpener(int commandId)
{
    if (m_openers.remove(commandId) > 0)
        Q_EMIT openersChanged();
}

bool ModuleCommands::hasOpener(int commandId) const
{
    return m_openers.contains(commandId);
}

ModuleCommands::Opener ModuleCommands::opener(int commandId) const
{
    return m_openers.value(commandId);
}

void ModuleCommands::registerReminderManager(RowOpener opener)
{
    m_reminderManager = std::move(opener);
    Q_EMIT openersChanged();
}
