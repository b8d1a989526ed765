#pragma once

#include <QStringView>

#include <span>

// The commands of the main frame: their ids, menu texts, keys and the rights that govern them.
// The menu bar, the navigation pane and the command dispatcher all read this one table.
namespace FrameCommandTable {

// Right rules: a right index of PurviewTable, or one of these.
inline constexpr int Always = -1;
inline constexpr int SuperUserOnly = -2;

struct Command
{
    int id;
    QStringView menuText; // with its mnemonic; a key after '\t' is shown, not bound
    QStringView shortcut; // the key that runs it anywhere in the frame; empty for none
    int right;            // checked (re-read from the database) before the command acts
    int enabledRule;      // the command is offered only when the user holds this
    int menuRule;         // its menu entry is removed for a user who lacks this
};

std::span<const Command> all();
// Null for an id that is not in the table.
const Command *find(int id);

// Whether the command first makes sure the database still answers (the module commands,
// 2100 to 2303).
bool checksConnection(int id);

// Whether the current user holds the rule with the rights in memory (no database access).
bool userHolds(int rule);

} // namespace FrameCommandTable
