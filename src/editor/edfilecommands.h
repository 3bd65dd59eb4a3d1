#pragma once

#include <QObject>
#include <QString>

class TDocEditor;

/// New, Open, Save and Save As of the editor's document, with the question
/// about unsaved changes; Export, and Insert File. Knows the document's file.
class EdFileCommands : public QObject {
    Q_OBJECT
public:
    enum TedFileSaveFilter { ffeNative };
    enum TedFileOpenFilter { ffiNative };

    explicit EdFileCommands(TDocEditor& editor, QObject* parent = nullptr);

    /// Folders the open and save dialogs start in.
    QString OpenInitialDir;
    QString SaveAsInitialDir;

    /// Full path of the document's file, or the default name of a new one.
    QString fileName() const { return m_fileName; }
    /// True when the document has a file that Save may write.
    bool hasFile() const { return m_hasFile; }
    /// For documents the program loads itself (start-up, examples).
    void setDocumentFile(const QString& fileName, bool hasFile);

    /// True when the document may be closed: unchanged, saved, or the user
    /// chose not to save it.
    bool ConfirmCloseDocument();
    void New();
    bool Open();
    /// Opens this file as Open does once a file is chosen; the caller has
    /// let go of the document shown.
    bool openFile(const QString& fileName);
    bool Save();
    bool SaveAs();
    /// Writes the document to a file the seller chooses, as an HTML page or
    /// as plain text; the document's own file stays as it is. Throws AppError
    /// when the file cannot be written.
    void exportDocument();
    /// Inserts a document, HTML or text file at the caret, as a paste would.
    void insertFile();

signals:
    /// Inside New: the document is empty, before it is formatted.
    void OnNew();
    /// After New, Open and every save attempt. After a failed save (`isNew`
    /// true) the document stays modified, even when a handler switched that
    /// off.
    void OnDocumentFileChange(TDocEditor* editor, const QString& fileName,
                              EdFileCommands::TedFileSaveFilter fileFormat, bool isNew);
    void OnOpenFile(TDocEditor* editor, const QString& fileName,
                    EdFileCommands::TedFileOpenFilter fileFormat, int customFilterIndex);

private:
    bool saveTo(const QString& fileName);

    TDocEditor& m_editor;
    QString m_fileName;
    bool m_hasFile = false;
};
