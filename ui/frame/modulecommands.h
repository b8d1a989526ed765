#pragma once

#include "core/query/wakeupqueries.h"

#include <QHash>
#include <QObject>
#include <QVector>

#include <atomic>
#include <functional>

class CMainFrame;

// The openers of the module windows, by command id of the main frame (2100 personnel archive,
// 33158 payroll archive, 2301 operators …). Each module registers its openers at start-up; a
// frame command whose module has registered nothing stays disabled. The frame runs an opener
// only after the command's connection and rights checks have passed. Used on the
// user-interface thread only.
class ModuleCommands : public QObject
{
    Q_OBJECT

public:
    using Opener = std::function<void(CMainFrame &frame)>;

    static ModuleCommands &instance();

    // Replaces the command's opener; an empty opener removes it.
    void registerOpener(int commandId, Opener opener);
    void unregisterOpener(int commandId);
    bool hasOpener(int commandId) const;
    // Empty when none is registered.
    Opener opener(int commandId) const;

    // The reminder manager as the reminder alert opens it, with the row of the definitions to
    // select; the personnel module registers it with its command 33222. Without it the alert
    // offers no way to the manager.
    using RowOpener = std::function<void(CMainFrame &frame, int startRow)>;
    void registerReminderManager(RowOpener opener);
    RowOpener reminderManager() const { return m_reminderManager; }

    // The reminder counts that the alert shows, computed on a worker thread: the function
    // opens its own connection from the string and stops early when the flag is set. The
    // personnel module registers it; without it no alert is shown.
    using ReminderCounter = std::function<QVector<tagWAKEUPROW>(const QString &connectionString,
                                                                const std::atomic_bool &stop)>;
    void registerReminderCounter(ReminderCounter counter)
    {
        m_reminderCounter = std::move(counter);
    }
    ReminderCounter reminderCounter() const { return m_reminderCounter; }

Q_SIGNALS:
    // A command gained or lost its opener: frames update what they offer.
    void openersChanged();

private:
    ModuleCommands() = default;

    QHash<int, Opener> m_openers;
    RowOpener m_reminderManager;
    ReminderCounter m_reminderCounter;
};
