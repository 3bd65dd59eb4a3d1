#include "web/decorationupdate.h"

#include "pagegen/pagetext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

namespace {

/// Stands for the document in an outline: a comment, so the parser puts it
/// where the document's first node would go.
const QString documentMarker = QStringLiteral("vantrel-document");

// Runs with the page's own scripts off, in the program's world. An outline
// parses into the nodes before the document (in document order below the
// body, the last one the element holding the document), the nodes after it
// inside the body's child that holds it (the closing tags' comments and line
// breaks), and the body's children after that one. The live page has the
// document's nodes in the marker's place: its first nodes are the outline's
// first, its holder's last nodes the outline's inner ones.
const char* const applyScript = R"js(
(function (url, shownText, nextText, marker) {
    if (document.URL !== url || !document.body)
        return false;
    var what = NodeFilter.SHOW_ELEMENT | NodeFilter.SHOW_TEXT | NodeFilter.SHOW_COMMENT;
    var inner = NodeFilter.SHOW_ELEMENT | NodeFilter.SHOW_COMMENT;
    function isMarker(node) {
        return node.nodeType === Node.COMMENT_NODE && node.data === marker;
    }
    function firstNodes(root, limit) {
        var walker = root.ownerDocument.createTreeWalker(root, what);
        var list = [];
        while (list.length < limit && walker.nextNode())
            list.push(walker.currentNode);
        return list;
    }
    // The last nodes below `root` in document order, walked backwards, so a
    // large document before them is not visited.
    function lastNodes(root, limit) {
        var walker = root.ownerDocument.createTreeWalker(root, inner);
        var last = root;
        while (last.lastChild)
            last = last.lastChild;
        walker.currentNode = last;
        var list = [];
        if (last !== root && last.nodeType !== Node.TEXT_NODE)
            list.push(last);
        while (list.length < limit && walker.previousNode())
            list.push(walker.currentNode);
        return list.reverse();
    }
    function outline(text) {
        var body = new DOMParser().parseFromString(text, 'text/html').body;
        var walker = body.ownerDocument.createTreeWalker(body, what);
        var before = [];
        while (walker.nextNode() && !isMarker(walker.currentNode))
            before.push(walker.currentNode);
        var mark = walker.currentNode;
        if (!isMarker(mark) || mark.parentNode === body)
            return null;
        var holder = mark;
        while (holder.parentNode !== body)
            holder = holder.parentNode;
        var closing = [];
        var texts = [];
        while (walker.nextNode() && holder.contains(walker.currentNode)) {
            var node = walker.currentNode;
            // Line breaks of the closing tags; the document's last text may
            // run into them in the live page.
            if (node.nodeType === Node.TEXT_NODE)
                texts.push(node.data);
            else
                closing.push(node);
        }
        if (texts.some(function (data) { return data.trim() !== ''; }))
            return null;
        var trailing = [];
        for (var next = holder.nextSibling; next; next = next.nextSibling)
            trailing.push(next);
        return {before: before, closing: closing, texts: texts.join('|'),
                holder: Array.prototype.indexOf.call(body.childNodes, holder),
                trailing: trailing};
    }
    function shape(list) {
        return list.map(function (node) { return list.indexOf(node.parentNode); }).join(',');
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
    function matches(shownList, liveList, nextList) {
        if (liveList.length !== shownList.length || nextList.length !== shownList.length)
            return false;
        for (var i = 0; i < liveList.length; ++i) {
            if (!same(shownList[i], liveList[i]) || !sameKind(shownList[i], nextList[i]))
                return false;
        }
        return true;
    }
    var shown = outline(shownText);
    var next = outline(nextText);
    if (!shown || !next || shown.holder !== next.holder || shown.texts !== next.texts)
        return false;
    var before = firstNodes(document.body, shown.before.length);
    if (!matches(shown.before, before, next.before) || shape(before) !== shape(shown.before) ||
        shape(next.before) !== shape(shown.before))
        return false;
    var holder = document.body.childNodes[shown.holder];
    if (!holder || before.indexOf(holder) < 0)
        return false;
    var closing = lastNodes(holder, shown.closing.length);
    if (!matches(shown.closing, closing, next.closing))
        return false;
    var trailing = [];
    for (var node = holder.nextSibling; node; node = node.nextSibling)
        trailing.push(node);
    if (trailing.length !== shown.trailing.length ||
        !trailing.every(function (node, i) { return node.isEqualNode(shown.trailing[i]); }))
        return false;

    for (var b = 0; b < before.length; ++b)
        copy(next.before[b], before[b]);
    for (var c = 0; c < closing.length; ++c)
        copy(next.closing[c], closing[c]);
    var kept = trailing.length === next.trailing.length &&
               trailing.every(function (node, i) { return node.isEqualNode(next.trailing[i]); });
    if (!kept) {
        trailing.forEach(function (node) { node.remove(); });
        next.trailing.forEach(function (node) {
            document.body.appendChild(document.importNode(node, true));
        });
    }
    window.scrollTo(0, 0);
    return true;
})
)js";

} // namespace

namespace decorationupdate {

bool onlyDecorationChanged(const QStringList& shown, const QStringList& next,
                           qsizetype documentLine) {
    return documentLine >= 1 && documentLine < shown.size() && documentLine < next.size() &&
           shown.front() == next.front() && shown[documentLine] == next[documentLine];
}

QString outline(const QStringList& lines, qsizetype documentLine) {
    // The document's line follows its holder's start tag directly in the
    // outline: the line break before it belongs to the document's first text
    // in the live page.
    QString text = joinLines(lines.mid(0, documentLine));
    text.chop(2);
    text += QLatin1String("<!--") + documentMarker + QLatin1String("-->\r\n");
    text += joinLines(lines.mid(documentLine + 1));
    return text;
}

QString script(const QUrl& page, const QString& shown, const QString& next) {
    const QJsonArray arguments{page.toString(QUrl::FullyEncoded), shown, next, documentMarker};
    return QString::fromLatin1(applyScript).trimmed() + QLatin1String(".apply(null, ") +
           QString::fromUtf8(QJsonDocument(arguments).toJson(QJsonDocument::Compact)) +
           QLatin1Char(')');
}

} // namespace decorationupdate
