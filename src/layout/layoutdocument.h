#pragma once

#include "layout/layout.h"
#include "layout/layoutfile.h"
#include "layout/layoutstate.h"
#include "platform/result.h"

#include <QObject>
#include <QString>

/// The layout being edited: the `Layout` record, the "Equal Margins" choice
/// its file keeps beside it, and the `LayoutState` of its file, its changes,
/// its load and its pictures. This is the one owner of all of them: every
/// change goes through one of the operations below, and each operation that
/// changes anything says what with one `changed` signal (and
/// `modifiedChanged` / `fileChanged` where those changed). Pages show what
/// it holds and forward what the seller does to its operations.
class LayoutDocument : public QObject {
    Q_OBJECT
public:
    enum class Change {
        /// Fields of the record or the "Equal Margins" choice.
        Values = 0x01,
        /// A whole layout was put in place (new, opened, read): the controls
        /// are to show it anew, even where it equals the one before.
        Loaded = 0x02,
        /// `LayoutFolder` or `LayoutFileName`.
        File = 0x04,
        /// `LayoutModified`.
        Modified = 0x08,
        /// `LayoutLoadNeeded`, `LayoutLoadRequested` or `LayoutControlsReady`.
        Loading = 0x10,
        /// The pictures' hints or file names.
        Pictures = 0x20,
    };
    Q_DECLARE_FLAGS(Changes, Change)
    Q_FLAG(Changes)

    /// The three layout pictures.
    enum class Picture { Ad, Frame, Text };

    explicit LayoutDocument(QObject* parent = nullptr);

    const Layout& layout() const { return m_layout; }
    const LayoutState& state() const { return m_state; }
    /// "Equal Margins": the three text margins move together.
    bool allMargins() const { return m_allMargins; }
    /// What the layout's file holds.
    LayoutFileContent content() const;

    // --- The layout's values ---------------------------------------------
    void setText(QString Layout::*field, const QString& value);
    void setFlag(bool Layout::*field, bool value);
    /// The whole record, as the Layout page captures its controls.
    void setLayout(const Layout& layout);
    void setAllMargins(bool on);
    /// A colour the seller picked ("#RRGGBB") for an area or a border: a
    /// change of the layout.
    void pickColour(QString Layout::*field, const QString& colour);
    /// A picture the seller chose, by its path below the images folder: it
    /// is shown, its hint names it, and the layout counts as changed.
    void choosePicture(Picture picture, const QString& path);

    // --- A whole layout --------------------------------------------------
    /// Puts what a layout file holds in place of the layout; its file and
    /// its changes stay as they are.
    void replaceWith(const LayoutFileContent& content);
    /// Reads a layout file as the Layout page opens it (a number that is not
    /// one takes its default) and puts it in place. A file that cannot be
    /// read fails, naming it; the layout then stays as it was.
    Status load(const QString& fileName);
    /// A new layout without a file: its changes are let go, and the next
    /// load reads a layout.
    void startUntitled();

    // --- Its file and its changes ----------------------------------------
    /// Writes the layout to `folder` + `fileName`, which becomes its file,
    /// and marks it saved. A file that cannot be written fails, naming it;
    /// then nothing changes.
    Status save(const QString& folder, const QString& fileName);
    /// The file the layout is named by, whether or not it was read from it.
    void setFile(const QString& folder, const QString& fileName);
    void markModified();
    /// The layout counts as unchanged, without being written anywhere (its
    /// changes were let go).
    void markSaved();

    // --- Where its load stands -------------------------------------------
    void setLoadNeeded(bool needed);
    /// The next load reads this file; `LayoutLoadNeeded` is left alone.
    void setLoadRequest(LayoutLoadRequest request);
    /// A load of this file is needed.
    void requestLoad(LayoutLoadRequest request);
    /// The request of the next load, which is then forgotten.
    LayoutLoadRequest takeLoadRequest();
    void setControlsReady(bool ready);

    // --- The pictures' hints ---------------------------------------------
    /// The hint of a picture button; "No image selected" for every one.
    void setPictureHint(Picture picture, const QString& hint);
    void resetPictureHints();
    const QString& pictureHint(Picture picture) const;

signals:
    void changed(LayoutDocument::Changes what);
    void modifiedChanged(bool modified);
    /// The folder (with trailing separator, or empty) and name of its file.
    void fileChanged(const QString& folder, const QString& fileName);

private:
    /// Emits once for everything an operation changed; nothing for nothing.
    void announce(Changes what);
    /// Values changed: the pictures' file names follow their paths.
    Changes valuesChanged();
    QString& hintOf(Picture picture);

    Layout m_layout;
    bool m_allMargins = false;
    LayoutState m_state;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(LayoutDocument::Changes)
