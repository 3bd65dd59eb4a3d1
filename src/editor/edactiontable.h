#pragma once

#include <vector>

class EdActionList;

/// The class an action is built as.
enum class EdActionKind {
    Plain,     ///< runs its handler
    Checkable, ///< runs its handler and shows an on/off state
    FontEx,    ///< the font action (`TedActionFontEx`), which brings its own behaviour
};

/// What an action needs to be enabled; the action list updates every
/// action from these as the caret, the selection, the undo history, the
/// clipboard and the read-only state change.
enum EdActionNeed : unsigned {
    NeedNothing = 0,
    NeedWritable = 1 << 0,  ///< changes the document: off while it is read-only
    NeedSelection = 1 << 1, ///< something is selected
    NeedTable = 1 << 2,     ///< the caret is in a table
    NeedCells = 1 << 3,     ///< several cells of a table are selected
    NeedMerged = 1 << 4,    ///< the caret's cell spans several rows or columns
    NeedUndo = 1 << 5,
    NeedRedo = 1 << 6,
    NeedPaste = 1 << 7,     ///< the clipboard holds something the editor takes
    NeedPageBreak = 1 << 8, ///< the caret's paragraph starts a new page
};

/// The keys of an action in portable text ("Ctrl+O"); nullptr for none.
struct EdActionKeys {
    const char* primary = nullptr;
    const char* second = nullptr;
};

/// One action of the editor's action list. A new action is one row here and,
/// unless its class brings its own behaviour, one handler.
struct EdActionRow {
    const char* name;    ///< object name, by which the program finds the action
    const char* caption; ///< with "&" before the access key
    EdActionKeys keys;
    EdActionKind kind;
    /// The action's own behaviour, run when no `OnExecute` replaces it;
    /// nullptr for a kind that brings its own.
    void (*handler)(EdActionList& list);
    unsigned needs = NeedNothing;
    /// The on/off state of a checkable action at the caret.
    bool (*checked)(EdActionList& list) = nullptr;
    /// Why an action the editor cannot carry out stays disabled; shown as
    /// its tooltip.
    const char* unavailable = nullptr;
};

/// Every action of the editor, in the order the action list holds them.
const std::vector<EdActionRow>& edActionTable();
