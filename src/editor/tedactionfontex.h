#pragma once

#include "editor/tedaction.h"

class TDocEditor;

/// The font action (`edActionFontEx1`). With `UserInterface` on it asks
/// for a font; with it off it applies only the properties marked valid (the
/// font name, the size) to the selection, or to the text typed next.
class TedActionFontEx : public TedAction {
    Q_OBJECT
public:
    enum ValidProperty { vpFontName = 1, vpSize = 2 };

    TedActionFontEx(const QString& name, const QString& caption, TDocEditor& editor,
                    QObject* parent);

    bool UserInterface = true;
    int ValidProperties = vpFontName | vpSize;
    QString FontName;
    int FontSize = 10;

private:
    void apply();

    TDocEditor& m_editor;
};
