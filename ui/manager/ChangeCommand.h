// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <StoredChange.h>

#include <QUndoCommand>

#include <functional>

// One change made in the manager, on the undo stack: it holds the rows the change touched and
// has them put back (undo) or made again (redo) by whoever restores stored changes.
class ChangeCommand : public QUndoCommand
{
public:
    using Restore = std::function<void(const StoredChange&, StoredChange::Side)>;

    // `change` has been made already: the first redo, on the push, does nothing.
    ChangeCommand(StoredChange change, Restore restore);

    void undo() override;
    void redo() override;

private:
    StoredChange m_change;
    Restore m_restore;
    bool m_made = true;
};
