#include "pagegen/listingvariables.h"

#include "layout/layout.h"
#include "pagegen/pagetext.h"
#include "pagegen/pictureinputs.h"
#include "pagegen/publishingstate.h"

#include <algorithm>

namespace {

const Layout& defaults() {
    static const Layout layout = Layout::withDefaults();
    return layout;
}

bool isHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isDigits(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString color(QString Layout::*field, const Layout& layout) {
    const QString& text = layout.*field;
    const bool valid = text.size() == 7 && text.front() == u'#' &&
                       std::all_of(text.begin() + 1, text.end(), isHexDigit);
    return valid ? text : defaults().*field;
}

QString number(QString Layout::*field, const Layout& layout) {
    return isDigits(layout.*field) ? layout.*field : defaults().*field;
}

QString borderType(QString Layout::*field, const Layout& layout) {
    return borderTypes().contains(layout.*field) ? layout.*field : defaults().*field;
}

QString background(bool transparent, QString Layout::*field, const Layout& layout) {
    return transparent ? QStringLiteral("transparent") : color(field, layout);
}

class VariableList {
public:
    void set(const char* name, const QString& value) {
        m_list.append({QString::fromLatin1(name), value});
    }
    /// A shown picture: at its address in the preview's plan, or at the
    /// server address publishing kept from its plan. An area without a
    /// picture publishes none: its address would be the server's folder.
    void setPicture(const char* name, const pictureplan::Entry& planned, const QString& serverUrl,
                    bool publishing) {
        if (!planned.shown || (publishing && !planned.chosen))
            return;
        set(name, publishing ? quotableUrl(serverUrl) : planned.address);
    }
    /// Exactly one of the four repeat keywords of a picture.
    void setRepeat(const char* prefix, bool repeatX, bool repeatY) {
        const QString p = QString::fromLatin1(prefix);
        if (repeatX && !repeatY)
            m_list.append({p + QStringLiteral("rx"), QStringLiteral("repeat-x")});
        if (repeatY && !repeatX)
            m_list.append({p + QStringLiteral("ry"), QStringLiteral("repeat-y")});
        if (!repeatX && !repeatY)
            m_list.append({p + QStringLiteral("rnot"), QStringLiteral("no-repeat")});
        if (repeatX && repeatY)
            m_list.append({p + QStringLiteral("rboth"), QStringLiteral("repeat")});
    }
    QList<ListingVariable> take() { return std::move(m_list); }

private:
    QList<ListingVariable> m_list;
};

QString pageWidth(const Layout& l) {
    if (l.AdWidthType == QLatin1String("1"))
        return QStringLiteral("100%");
    if (l.AdWidthType == QLatin1String("0"))
        return number(&Layout::AdWidthValue, l) + QStringLiteral("px");
    return {};
}

} // namespace

QList<ListingVariable> listingVariables(const Layout& l, const PictureSources& pictures) {
    VariableList v;
    const PublishingState& p = pictures.publishing;
    pictureplan::Input input;
    input.userFolder = pictures.userFolder;
    input.layout = pictureplan::layoutPictures(l);
    const pictureplan::Plan plan = pictureplan::make(input);
    using pictureplan::Role;
    v.setPicture("adimg", *plan.layoutPicture(Role::PageArea), p.AdImageURL, p.Publishing);
    v.setPicture("fimg", *plan.layoutPicture(Role::Frame), p.FrameImageURL, p.Publishing);
    v.setPicture("timg", *plan.layoutPicture(Role::TextArea), p.TextImageURL, p.Publishing);
    v.set("adbc", background(l.AdHideCol, &Layout::AdBackCol, l));
    const QString width = pageWidth(l);
    if (!width.isEmpty())
        v.set("adw", width);
    v.set("adal", l.AdCenter ? QStringLiteral("center") : QStringLiteral("left"));
    v.set("admc", l.AdCenter ? QStringLiteral("0 auto") : QStringLiteral("0"));
    v.set("obw", number(&Layout::OBWidth, l));
    v.set("obt", borderType(&Layout::OBType, l));
    v.set("obc", color(&Layout::OBColor, l));
    v.set("fw", number(&Layout::FWidth, l));
    v.set("fbgc", background(l.FBgHideCol, &Layout::FBgCol, l));
    v.setRepeat("fi", l.FImgRepX, l.FImgRepY);
    v.setRepeat("ti", l.TxtRepeatX, l.TxtRepeatY);
    v.set("fbw", number(&Layout::FBWidth, l));
    v.set("fbc", color(&Layout::FBCol, l));
    v.set("fbt", borderType(&Layout::FBType, l));
    v.set("tpadtop", number(&Layout::TxtPadTop, l));
    v.set("tpadleft", number(&Layout::TxtPadLeft, l));
    v.set("tpadright", number(&Layout::TxtPadRight, l));
    v.set("tbgc", background(l.TxtHideCol, &Layout::TxtBgCol, l));
    v.set("tcol", color(&Layout::TxtCol, l));
    return v.take();
}
