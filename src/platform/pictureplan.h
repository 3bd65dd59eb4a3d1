#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

/// Where every picture of a listing page comes from: decided once, before
/// the page is written, for the preview on this computer or for the page
/// that is published. The page's writers only look addresses up here.
namespace pictureplan {

enum class Target {
    /// The page shown on this computer: pictures by their local files.
    Preview,
    /// The page bidders see: pictures by their addresses on image servers.
    Publish,
};

/// Which picture of the page an entry is.
enum class Role { PageArea, Frame, TextArea, Document };

/// One of the layout's three pictures, as the layout names it: a path below
/// the images folder ("/My images/sky.jpg", or "\Backgrounds\x.gif" from a
/// layout written elsewhere); empty when none is chosen.
struct LayoutPicture {
    Role role = Role::PageArea;
    QString path;
    bool hidden = true;
};

/// One picture of the document: the file it was inserted from, or, when it
/// came from no file (pasted, dropped, shipped inside a document), its bytes
/// and their format name ("png", "jpeg", "gif"), or, for a picture on the
/// web, its address.
struct DocumentPicture {
    DocumentPicture() = default;
    DocumentPicture(QString storedFile, QByteArray bytes = {}, QByteArray format = {},
                    QString contentName = {})
        : storedFile(std::move(storedFile))
        , bytes(std::move(bytes))
        , format(std::move(format))
        , contentName(std::move(contentName)) {}

    QString storedFile;
    QByteArray bytes;
    QByteArray format;
    /// The bytes' SHA-1 in hexadecimal, as the document names the picture;
    /// worked out from the bytes when empty.
    QString contentName;
    /// The http or https address of a picture on the web; then the rest is
    /// empty.
    QString webAddress;

    /// What tells this picture from the others: its address, its file, or
    /// its bytes when it has neither. A picture used twice in the document
    /// is one picture.
    QString key() const;
};

/// The image servers' base addresses, each ending with "/"; empty when the
/// seller has none set or chosen.
struct Servers {
    QString layout;
    QString document;
};

struct Input {
    Target target = Target::Preview;
    /// The user folder: layout pictures are below its "images" folder.
    QString userFolder;
    QList<LayoutPicture> layout;
    QList<DocumentPicture> document;
    Servers servers;
    /// Where the pictures that came from no file are kept.
    QString unfiledFolder;
    /// The page is written into `unfiledFolder`: it refers to those pictures
    /// by their bare names.
    bool unfiledByName = false;
};

/// One picture of the plan.
struct Entry {
    Role role = Role::Document;
    /// `DocumentPicture::key` of a document picture; empty for the layout's.
    QString key;
    /// The picture's file on this computer.
    QString localFile;
    /// The file's name on the image server, letter case kept.
    QString serverName;
    /// Its address on the server; empty when it has no server.
    QString serverAddress;
    /// What the page refers to it by: its local file for the preview, its
    /// server address for publishing (its local file when it has no server:
    /// the page would show it only on this computer).
    QString address;
    /// For a picture that came from no file: the bytes `localFile` must
    /// hold before the page is shown.
    QByteArray bytes;
    /// The page shows it: false for a hidden layout picture, whose address
    /// is still worked out.
    bool shown = true;
    /// A picture is chosen: false for a layout area without one, which the
    /// page still names (its address is the folder's or the server's own).
    bool chosen = true;
    /// A picture on the web: it stays where it is, on every page, under its
    /// own address (`serverAddress` and `address`), and is never uploaded.
    bool onWeb = false;

    /// The page needs this file: shown and chosen.
    bool needed() const { return shown && chosen; }
    /// It has an address on an image server.
    bool placed() const { return !serverAddress.isEmpty(); }
};

class Plan;
/// The plan for a page: pure, it reads no file and writes none.
Plan make(const Input& input);

/// Where every picture of the page comes from; made by `make`.
class Plan {
public:
    Target target = Target::Preview;
    QList<Entry> entries;

    /// The layout's picture of that role; null when the plan has none.
    const Entry* layoutPicture(Role role) const;
    /// The document's picture; null when the plan has none for it.
    const Entry* documentPicture(const DocumentPicture& picture) const;

    /// The server addresses of the pictures the page needs, sorted without
    /// regard to letter case, each once.
    QStringList addresses() const;
    /// The local files of the pictures the page needs that have no server.
    /// Pictures on the web are on theirs.
    QStringList unplaced() const;

private:
    friend Plan make(const Input& input);
    /// Where each document picture's entry is, by its key.
    QHash<QString, qsizetype> m_documentEntries;
};

/// Puts the bytes of every picture that came from no file into the file the
/// plan gave it, unless the file holds them already.
Status saveUnfiledPictures(const Plan& plan);

/// The name a picture that came from no file is kept under, made from its
/// bytes so that the same picture always gets the same name:
/// "picture-<hash>.png".
QString unfiledName(const DocumentPicture& picture);

} // namespace pictureplan
