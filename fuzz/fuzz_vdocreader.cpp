// Fuzzes the native document reader. The first input byte chooses what the
// rest is: 0, a whole file as it would be read from disk; anything else, a
// payload that the harness compresses and puts behind a valid header (of a
// version the byte chooses among those the reader takes), so the
// fuzzer also reaches the readers behind the zlib layer. Whatever was read
// is then exported as the program would, pictures given a location.
#include "docmodel/eddocument.h"
#include "docmodel/htmlfragmentexporter.h"
#include "docmodel/vdocformat.h"
#include "docmodel/vdocreader.h"
#include "docmodel/zlibcodec.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

namespace {

QByteArray fileFromPayload(QByteArrayView payload, quint16 version) {
    QByteArray file("VDOC", 4);
    file.append(static_cast<char>(version & 0xFF));
    file.append(static_cast<char>(version >> 8));
    file.append(2, '\0');
    const auto size = static_cast<quint32>(payload.size());
    for (int shift = 0; shift < 32; shift += 8)
        file.append(static_cast<char>((size >> shift) & 0xFF));
    return file + zlibcodec::compress(payload);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const QByteArrayView rest(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    EdDocument document;
    if (data[0] == 0)
        VDocReader::read(rest, document);
    else
        VDocReader::read(fileFromPayload(rest, quint16(vdocformat::kOldestVersion +
                                                       data[0] % (vdocformat::kVersion -
                                                                  vdocformat::kOldestVersion + 1))),
                         document);
    HtmlFragmentExporter exporter(document);
    exporter.OnHTMLSaveImage = [](const TCustomDocData&, int, const QString&, const QColor&,
                                  QString& location, bool& doDefault) {
        location = QStringLiteral("picture");
        doDefault = false;
    };
    exporter.toHtml();
    return 0;
}
