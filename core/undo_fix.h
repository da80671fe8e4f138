// The undo fix run before every command: the macro of "plorinUndoFix.ppt" in the program
// folder.
#pragma once

namespace plorin {

// Opens the undo-fix presentation without a window, runs its macro and closes it; every
// failing step is skipped.
void runUndoFix();

}  // namespace plorin
