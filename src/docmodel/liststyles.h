#pragma once

#include "docmodel/styleinfolist.h"

#include <QString>

/// One bullet or numbering style. A list paragraph refers to it by index and
/// to one of its levels; each level is indented one step further.
struct TListInfo {
    enum TListType {
        lstBullet,
        lstDecimal,
        lstLowerAlpha,
        lstUpperAlpha,
        lstLowerRoman,
        lstUpperRoman
    };

    QString StyleName = QStringLiteral("List Style");
    TListType ListType = lstBullet;
    QString BulletText = QStringLiteral("\u2022");
    int StartFrom = 1;
    int IndentStep = 24; // pixels per level

    bool sameLook(const TListInfo& other) const;
    bool operator==(const TListInfo& other) const;
};

/// The list style list (`ListStyles`).
using TListInfos = StyleInfoList<TListInfo>;
