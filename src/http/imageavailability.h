#pragma once

#include "http/httpresult.h"

#include <QByteArray>
#include <QString>

/// Whether a fetched picture will show on the published listing.
enum class ImageAvailability {
    Available,
    NotFound,         // a status from 400 up (except 401 and 407), or another status than 2xx
    OtherDocument,    // the server sent the address on to a document of another name
    NotAnImage,       // the answer is not a picture (for example an HTML page)
    PasswordRequired, // 401 or 407: bidders would be asked for a password
    TimedOut,
    ProxyUnreachable, // the same for every picture: report it once
    FetchFailed,      // no answer that could be judged: see the client's text
};

struct ImageVerdict {
    ImageAvailability availability = ImageAvailability::FetchFailed;
    /// One upper-case line for a listing of results: "OK", "NOT FOUND (404)",
    /// "NOT AN IMAGE (text/html)", "TIMEOUT", ...
    QString summary;
    /// A sentence a seller can read, for the failures that have one.
    QString detail;

    bool available() const { return availability == ImageAvailability::Available; }
};

/// True when the bytes begin with a GIF, JPEG, PNG or WebP signature.
bool hasPictureSignature(const QByteArray& firstBytes);

/// The file name a picture address ends with, as the name of the document
/// to expect back: the text after the last "/", "\" or ":", without a query
/// or fragment, and with percent-encodings decoded.
QString expectedDocumentName(const QString& address);

/// Judges one fetch of a picture expected under `expectedName`: available
/// only with a 2xx status, under that name (without regard to letter case),
/// with an image content type or none, and with a body that begins with a
/// picture signature. Only a declared image type whose signature is not
/// known here (SVG, BMP, ...) passes without one, when its body is not an
/// HTML page.
ImageVerdict judgeImage(const HttpResult& result, const QString& expectedName);
