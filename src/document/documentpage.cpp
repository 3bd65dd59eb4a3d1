#include "document/documentpage.h"

#include "document/richdocumenteditor.h"
#include "editor/docpicture.h"
#include "editor/edactionlist.h"
#include "editor/eddocument.h"
#include "editor/edfilecommands.h"
#include "editor/tdoceditor.h"
#include "pagegen/documentpictures.h"
#include "pagegen/publishingstate.h"
#include "platform/ownpictures.h"
#include "platform/workingfolders.h"

#include <QVBoxLayout>

DocumentPage::DocumentPage(UserDialogs& dialogs, const WorkingFolders& folders,
                           PublishingState& publishing, const ServerMirror& servers,
                           QWidget* parent)
    : QWidget(parent)
    , m_folders(folders)
    , m_publishing(publishing)
    , m_servers(servers)
    , m_editor(std::make_unique<RichDocumentEditor>(dialogs, this)) {
    setObjectName(QStringLiteral("tabCompose"));
    (new QVBoxLayout(this))->addWidget(m_editor->widget());
    // Documents and layouts are kept together; pictures come from the
    // images folder.
    m_editor->files().OpenInitialDir = folders.layoutsFolder();
    m_editor->files().SaveAsInitialDir = folders.layoutsFolder();
    m_editor->actions().PictureInitialDir = folders.imagesFolder();
    m_editor->editor().OnHTMLSaveImage = [this](const TCustomDocData& data, int itemNo,
                                                const QString&, const QColor&, QString& location,
                                                bool& doDefault) {
        DocEditor1HTMLSaveImage(data, itemNo, location, doDefault);
    };
}

void DocumentPage::DocEditor1HTMLSaveImage(const TCustomDocData& data, int itemNo,
                                           QString& location, bool& doDefault) {
    QString storedFile;
    m_editor->editor().ItemPictureFile(data, itemNo, storedFile);
    DocPicture picture;
    // A picture from no file is kept in the own pictures folder for
    // publishing, so that it can be uploaded with the others.
    if (storedFile.isEmpty() && m_publishing.Publishing &&
        m_editor->editor().edDocument().ItemPicture(data, itemNo, picture) && !picture.isEmpty())
        storedFile =
            ownpictures::keepPicture(picture.bytes, picture.format, m_folders.ownImagesFolder());
    if (documentPictureLocation(m_publishing, m_servers, itemNo, storedFile, location))
        doDefault = false;
}

DocumentPage::~DocumentPage() = default;

DocumentEditor& DocumentPage::editor() const {
    return *m_editor;
}

void DocumentPage::tabComposeShow() {
    m_editor->widget()->setFocus();
}
