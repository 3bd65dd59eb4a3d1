#pragma once

#include <vector>

class EdActionList;

/// The class an action is built as.
enum class EdActionKind {
    Plain,     ///< runs its handler
    Checkable, ///< runs its handler and shows an on/off state
    FontEx,    ///< the font action (`TedActionFontEx`), which brings its own behaviour
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
};

/// Every action of the editor, in the order the action list holds them.
const std::vector<EdActionRow>& edActionTable();
