#pragma once

#include <QString>

class QClipboard;

/// The system clipboard as the program uses it for the listing code: it
/// remembers the text it put there, so that emptying the clipboard later
/// never throws away what the user has copied since.
class ListingClipboard {
public:
    /// Uses the application's clipboard when none is given.
    explicit ListingClipboard(QClipboard* clipboard = nullptr);

    /// Puts the code on the clipboard as text and remembers it.
    void copy(const QString& code);
    /// The clipboard still holds the text this object put there.
    bool holdsOwnCode() const;
    /// Empties the clipboard when it still holds the program's code;
    /// anything else stays.
    void clearOwnCode();

private:
    QClipboard* m_clipboard;
    QString m_ownCode;
    bool m_copied = false;
};
