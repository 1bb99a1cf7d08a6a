// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChangeCommand.h"

ChangeCommand::ChangeCommand(StoredChange change, Restore restore)
    : QUndoCommand(change.text), m_change(std::move(change)), m_restore(std::move(restore))
{
}

void ChangeCommand::undo()
{
    m_restore(m_change, StoredChange::Side::Before);
}

void ChangeCommand::redo()
{
    if (m_made) {
        m_made = false;
        return;
    }
    m_restore(m_change, StoredChange::Side::After);
}
