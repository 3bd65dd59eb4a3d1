#pragma once

#include <QImage>
#include <QTextDocument>

/// The text document under the editor. Pictures are shown from images
/// registered under their resource names; a name that was never registered
/// (a damaged picture) shows the invalid-picture image instead of being
/// looked up as a file.
class EdTextDocument : public QTextDocument {
    Q_OBJECT
public:
    explicit EdTextDocument(QObject* parent = nullptr);

    void setInvalidPicture(const QImage& image) { m_invalidPicture = image; }

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QImage m_invalidPicture;
};
