#include "web/decorationupdate.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

namespace {

// Runs with the page's own scripts off, in the program's world. Nodes are
// matched in document order below the body: the body's start is the same in
// both pages, and everything after the given lines comes after their nodes.
const char* const applyScript = R"js(
(function (url, shownText, nextText) {
    if (document.URL !== url || !document.body)
        return false;
    var what = NodeFilter.SHOW_ELEMENT | NodeFilter.SHOW_TEXT | NodeFilter.SHOW_COMMENT;
    function nodes(root, limit) {
        var walker = root.ownerDocument.createTreeWalker(root, what);
        var list = [];
        while (list.length < limit && walker.nextNode())
            list.push(walker.currentNode);
        return list;
    }
    function parsed(text) {
        return nodes(new DOMParser().parseFromString(text, 'text/html').body, Infinity);
    }
    function attributes(node) {
        var map = {};
        for (var i = 0; i < node.attributes.length; ++i)
            map[node.attributes[i].name] = node.attributes[i].value;
        return map;
    }
    function sameKind(a, b) {
        return a.nodeType === b.nodeType && a.nodeName === b.nodeName;
    }
    function same(a, b) {
        if (!sameKind(a, b))
            return false;
        if (a.nodeType !== Node.ELEMENT_NODE)
            return a.data === b.data;
        var x = attributes(a), y = attributes(b);
        var names = Object.keys(x);
        return names.length === Object.keys(y).length &&
               names.every(function (name) { return y[name] === x[name]; });
    }
    function copy(from, to) {
        if (from.nodeType !== Node.ELEMENT_NODE) {
            if (to.data !== from.data)
                to.data = from.data;
            return;
        }
        var wanted = attributes(from);
        Array.prototype.slice.call(to.attributes).forEach(function (attribute) {
            if (!(attribute.name in wanted))
                to.removeAttribute(attribute.name);
        });
        Object.keys(wanted).forEach(function (name) {
            if (to.getAttribute(name) !== wanted[name])
                to.setAttribute(name, wanted[name]);
        });
    }
    var shown = parsed(shownText);
    var next = parsed(nextText);
    var live = nodes(document.body, shown.length);
    if (next.length !== shown.length || live.length !== shown.length)
        return false;
    for (var i = 0; i < live.length; ++i) {
        if (!same(shown[i], live[i]) || !sameKind(shown[i], next[i]))
            return false;
    }
    for (var j = 0; j < live.length; ++j)
        copy(next[j], live[j]);
    window.scrollTo(0, 0);
    return true;
})
)js";

QString text(const QStringList& lines) {
    return lines.join(QLatin1String("\r\n"));
}

} // namespace

namespace decorationupdate {

QStringList changedStart(const QStringList& shown, const QStringList& next,
                         qsizetype documentLine) {
    if (documentLine < 1 || shown.size() != next.size() || next.size() <= documentLine ||
        shown.front() != next.front()) {
        return {};
    }
    for (qsizetype i = documentLine; i < next.size(); ++i) {
        if (shown[i] != next[i])
            return {};
    }
    return next.mid(0, documentLine);
}

QString script(const QUrl& page, const QStringList& shownStart, const QStringList& nextStart) {
    const QJsonArray arguments{page.toString(QUrl::FullyEncoded), text(shownStart),
                               text(nextStart)};
    return QString::fromLatin1(applyScript).trimmed() + QLatin1String(".apply(null, ") +
           QString::fromUtf8(QJsonDocument(arguments).toJson(QJsonDocument::Compact)) +
           QLatin1Char(')');
}

} // namespace decorationupdate
