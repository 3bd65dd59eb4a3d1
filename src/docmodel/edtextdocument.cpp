#include "docmodel/edtextdocument.h"

#include "docmodel/docproperties.h"

#include <QUrl>

EdTextDocument::EdTextDocument(QObject* parent)
    : QTextDocument(parent) {}

QVariant EdTextDocument::loadResource(int type, const QUrl& name) {
    if (type == QTextDocument::ImageResource &&
        name.toString().startsWith(docprop::pictureResourcePrefix()))
        return m_invalidPicture;
    // Documents never refer to outside files for what they show.
    return QVariant();
}
