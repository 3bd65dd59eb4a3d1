#pragma once

class EdActionList;

/// Find and Replace of the editor. What was searched last (the action
/// list's `SearchText` and `SearchFlags`) is what Find Next looks for.
namespace edfind {

/// The find dialog, then the next occurrence.
void find(EdActionList& list);
/// The replace dialog: one occurrence after the other, or all at once.
void replace(EdActionList& list);
/// The next occurrence of the last search; the find dialog before the first.
void findAgain(EdActionList& list);

} // namespace edfind
