#pragma once

#include "layout/layout.h"
#include "layout/layoutfile.h"
#include "layout/layoutstate.h"
#include "platform/result.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QUndoStack>

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
        /// A step of the history was undone or redone: the controls show the
        /// layout anew (with `Loaded`) and the preview follows.
        History = 0x40,
    };
    Q_DECLARE_FLAGS(Changes, Change)
    Q_FLAG(Changes)

    /// The three layout pictures.
    enum class Picture { Ad, Frame, Text };

    /// What changes made while a `Step` lives are undone as.
    enum class StepKind {
        /// A change of the values by the seller.
        Edit,
        /// A whole layout put in place: its undo gives back the layout before
        /// it together with that layout's file.
        Load,
    };

    /// Every change of the values made while it lives is one step of the
    /// history, however many operations it takes. Steps may nest; the
    /// outermost one makes the step.
    class Step {
    public:
        explicit Step(LayoutDocument& document, StepKind kind = StepKind::Edit);
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        LayoutDocument& m_document;
    };

    explicit LayoutDocument(QObject* parent = nullptr);
    ~LayoutDocument() override;

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

    // --- Its history -------------------------------------------------------
    // Each change of the values outside a `Step` is a step of its own. The
    // changes of one number field that follow each other closely (typing
    // "120", holding an arrow) make one step, until another field changes,
    // `endBurst` is called or a pause of more than `burstPauseMs` passes.
    // The layout counts as modified unless the history stands where the
    // layout was last saved or put in place.
    static constexpr qint64 burstPauseMs = 1500;
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    void undo();
    void redo();
    /// The next change of a number field starts a step of its own (the
    /// seller left the field).
    void endBurst();
    /// Its `canUndoChanged`, `canRedoChanged` and `indexChanged` say when
    /// undo and redo become possible.
    const QUndoStack& history() const { return m_history; }

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
    class HistoryStep;
    /// The layout as a step of the history holds it.
    struct Snapshot {
        LayoutFileContent content;
        QString folder;
        QString fileName;
        bool operator==(const Snapshot& other) const;
    };
    Snapshot snapshot() const;
    void beginStep(StepKind kind);
    void endStep();
    /// Records the change from the values last recorded as a step; what
    /// that changed beyond the values.
    Changes recordEdit();
    /// Puts a step's layout back: `clean` when the history then stands
    /// where the layout was saved.
    void putBack(const Snapshot& shown, bool withFile, bool clean);

    /// Emits once for everything an operation changed; nothing for nothing.
    void announce(Changes what);
    /// Values changed: the pictures' file names follow their paths.
    Changes valuesChanged();
    QString& hintOf(Picture picture);

    Layout m_layout;
    bool m_allMargins = false;
    LayoutState m_state;

    QUndoStack m_history;
    /// The values as the history's current step left them.
    LayoutFileContent m_recorded;
    int m_stepDepth = 0;
    StepKind m_stepKind = StepKind::Edit;
    Snapshot m_stepBefore;
    /// A load into controls that never showed a layout starts the history.
    bool m_stepFirstShow = false;
    bool m_puttingBack = false;
    /// The number fields the open burst changes; none when no burst is open.
    int m_burstFields = 0;
    QElapsedTimer m_burstClock;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(LayoutDocument::Changes)
