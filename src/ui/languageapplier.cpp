#include "ui/languageapplier.h"

#include "platform/uilanguage.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QSet>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextDocumentFragment>
#include <QToolButton>
#include <QTranslator>
#include <functional>
#include <memory>

namespace languageapplier {

namespace {

using uilanguage::Target;

/// Which text of an object.
enum class Kind { Caption, Hint, Placeholder, Title, Tab, Item };

/// One text of one object; `index` is the entry of a list's items.
struct Slot {
    QObject* object = nullptr;
    Kind kind = Kind::Caption;
    int index = -1;

    bool operator==(const Slot& other) const {
        return object == other.object && kind == other.kind && index == other.index;
    }
};

size_t qHash(const Slot& slot, size_t seed = 0) {
    return ::qHash(slot.object, seed) ^ ::qHash(int(slot.kind) * 65536 + slot.index, seed);
}

/// What the applier remembers of a text: 'd' the designed text, 'a' the text
/// it last gave, 'f' a label's designed text format.
const char* propertyName(Kind kind, char role) {
    static const char* const names[][3] = {
        {"_vtl_d_caption", "_vtl_a_caption", "_vtl_f_caption"},
        {"_vtl_d_hint", "_vtl_a_hint", "_vtl_f_hint"},
        {"_vtl_d_placeholder", "_vtl_a_placeholder", "_vtl_f_placeholder"},
        {"_vtl_d_title", "_vtl_a_title", "_vtl_f_title"},
        {"_vtl_d_tab", "_vtl_a_tab", "_vtl_f_tab"},
    };
    return names[int(kind)][role == 'd' ? 0 : role == 'a' ? 1 : 2];
}

// A list item's memory travels with the item when others are inserted.
constexpr int designedItemRole = Qt::UserRole + 0x5644;
constexpr int appliedItemRole = Qt::UserRole + 0x5645;

QVariant memo(const Slot& slot, char role) {
    if (slot.kind == Kind::Item)
        return static_cast<QComboBox*>(slot.object)
            ->itemData(slot.index, role == 'd' ? designedItemRole : appliedItemRole);
    return slot.object->property(propertyName(slot.kind, role));
}

void remember(const Slot& slot, char role, const QVariant& value) {
    if (slot.kind == Kind::Item)
        static_cast<QComboBox*>(slot.object)
            ->setItemData(slot.index, value, role == 'd' ? designedItemRole : appliedItemRole);
    else
        slot.object->setProperty(propertyName(slot.kind, role), value);
}

bool isWindow(const QObject* object) {
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget && widget->isWindow() && !qobject_cast<const QMenu*>(widget);
}

bool isInternal(const QObject* object) {
    const QString name = object->objectName();
    return name.startsWith(QLatin1String("qt_")) || name.startsWith(QLatin1String("_q_"));
}

QTabWidget* tabWidgetOf(const QWidget* page) {
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    return stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
}

QString read(const Slot& slot) {
    QObject* object = slot.object;
    switch (slot.kind) {
    case Kind::Caption:
        if (auto* action = qobject_cast<QAction*>(object))
            return action->text();
        if (auto* button = qobject_cast<QAbstractButton*>(object))
            return button->text();
        if (auto* label = qobject_cast<QLabel*>(object))
            return label->text();
        if (auto* group = qobject_cast<QGroupBox*>(object))
            return group->title();
        if (auto* edit = qobject_cast<QLineEdit*>(object))
            return edit->text();
        return QString();
    case Kind::Hint:
        if (auto* action = qobject_cast<QAction*>(object))
            return action->toolTip();
        return static_cast<QWidget*>(object)->toolTip();
    case Kind::Placeholder:
        return static_cast<QLineEdit*>(object)->placeholderText();
    case Kind::Title:
        return static_cast<QWidget*>(object)->windowTitle();
    case Kind::Tab: {
        auto* page = static_cast<QWidget*>(object);
        QTabWidget* tabs = tabWidgetOf(page);
        return tabs ? tabs->tabText(tabs->indexOf(page)) : QString();
    }
    case Kind::Item:
        return static_cast<QComboBox*>(object)->itemText(slot.index);
    }
    return QString();
}

QString singleAmpersands(QString text) {
    return text.replace(QLatin1String("&&"), QLatin1String("&"));
}

/// A tooltip shows rich text when it looks like it; a file's text never does.
QString plainHint(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<qt>") + text.toHtmlEscaped() + QStringLiteral("</qt>");
}

void setLabel(QLabel* label, const QString& text, const QString& designed, bool isDesigned) {
    const auto designedFormat = Qt::TextFormat(memo({label, Kind::Caption}, 'f').toInt());
    if (isDesigned) {
        label->setTextFormat(designedFormat);
        label->setText(designed);
        return;
    }
    const bool richDesign = designedFormat == Qt::RichText ||
                            (designedFormat == Qt::AutoText && Qt::mightBeRichText(designed));
    if (richDesign) {
        // A link keeps its link: only its words change, escaped.
        const QString words = QTextDocumentFragment::fromHtml(designed).toPlainText();
        const QString escaped = words.toHtmlEscaped();
        if (!words.isEmpty() && designed.contains(escaped)) {
            QString html = designed;
            html.replace(html.indexOf(escaped), escaped.size(), text.toHtmlEscaped());
            label->setText(html);
            return;
        }
    }
    label->setTextFormat(Qt::PlainText);
    // Only a label with a buddy turns "&&" into "&" itself.
    label->setText(label->buddy() ? text : singleAmpersands(text));
}

void write(const Slot& slot, const QString& text, const QString& designed) {
    const bool isDesigned = text == designed;
    QObject* object = slot.object;
    switch (slot.kind) {
    case Kind::Caption:
        if (auto* action = qobject_cast<QAction*>(object))
            action->setText(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(object))
            button->setText(text);
        else if (auto* label = qobject_cast<QLabel*>(object))
            setLabel(label, text, designed, isDesigned);
        else if (auto* group = qobject_cast<QGroupBox*>(object))
            group->setTitle(text);
        else if (auto* edit = qobject_cast<QLineEdit*>(object))
            edit->setText(isDesigned ? text : singleAmpersands(text));
        break;
    case Kind::Hint: {
        const QString hint = isDesigned ? text : plainHint(singleAmpersands(text));
        if (auto* action = qobject_cast<QAction*>(object))
            action->setToolTip(hint);
        else
            static_cast<QWidget*>(object)->setToolTip(hint);
        break;
    }
    case Kind::Placeholder:
        static_cast<QLineEdit*>(object)->setPlaceholderText(isDesigned ? text
                                                                       : singleAmpersands(text));
        break;
    case Kind::Title:
        static_cast<QWidget*>(object)->setWindowTitle(isDesigned ? text : singleAmpersands(text));
        break;
    case Kind::Tab: {
        auto* page = static_cast<QWidget*>(object);
        if (QTabWidget* tabs = tabWidgetOf(page))
            tabs->setTabText(tabs->indexOf(page), text);
        break;
    }
    case Kind::Item:
        static_cast<QComboBox*>(object)->setItemText(slot.index,
                                                     isDesigned ? text : singleAmpersands(text));
        break;
    }
}

/// The designed text of the slot, remembered the first time it is seen.
QString designedText(const Slot& slot) {
    const QVariant stored = memo(slot, 'd');
    if (stored.isValid())
        return stored.toString();
    const QString text = read(slot);
    remember(slot, 'd', text);
    if (auto* label = qobject_cast<QLabel*>(slot.object))
        remember(slot, 'f', int(label->textFormat()));
    return text;
}

/// False when the program changed the text since it was last applied.
bool ownsText(const Slot& slot) {
    const QVariant applied = memo(slot, 'a');
    return !applied.isValid() || applied.toString() == read(slot);
}

void give(const Slot& slot, const QString& text) {
    write(slot, text, designedText(slot));
    remember(slot, 'a', read(slot));
}

/// The slots a window's texts live in, with their keys.
struct Entry {
    Slot slot;
    QString key;
};

bool usableAsKey(const QString& text) {
    const QString key = text.trimmed();
    return !key.isEmpty() && !key.contains(QLatin1Char('=')) && !key.contains(QLatin1Char('\n')) &&
           !key.startsWith(QLatin1Char('[')) && !key.startsWith(QLatin1Char(';'));
}

void addEntry(QList<Entry>& entries, QObject* object, Kind kind, const char* suffix) {
    const Slot slot{object, kind};
    const QString designed = designedText(slot);
    const QString name = kind == Kind::Tab || kind == Kind::Title || !object->objectName().isEmpty()
                             ? object->objectName()
                             : QString();
    if (!name.isEmpty()) {
        entries.append({slot, name + QLatin1String(suffix)});
        return;
    }
    // Without a name, the designed text is the key.
    if (usableAsKey(designed))
        entries.append({slot, designed.trimmed()});
}

void addEntries(QList<Entry>& entries, QObject* object) {
    if (isInternal(object))
        return;
    if (auto* action = qobject_cast<QAction*>(object)) {
        if (action->isSeparator())
            return;
        addEntry(entries, action, Kind::Caption, "");
        return;
    }
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return;
    // A read-only edit shows a text rather than holding the user's.
    const auto* edit = qobject_cast<QLineEdit*>(widget);
    const bool captioned = qobject_cast<QAbstractButton*>(widget) ||
                           qobject_cast<QLabel*>(widget) || qobject_cast<QGroupBox*>(widget) ||
                           (edit && edit->isReadOnly());
    // A tool button showing an action takes its texts from the action.
    const auto* tool = qobject_cast<QToolButton*>(widget);
    const bool showsAction = tool && tool->defaultAction();
    if (captioned && !showsAction && !designedText({widget, Kind::Caption}).isEmpty())
        addEntry(entries, widget, Kind::Caption, "");
    // A named control can be given a tooltip it was not designed with.
    if (!showsAction &&
        (!widget->objectName().isEmpty() || !designedText({widget, Kind::Hint}).isEmpty()))
        addEntry(entries, widget, Kind::Hint, ".hint");
    if (edit && !designedText({widget, Kind::Placeholder}).isEmpty())
        addEntry(entries, widget, Kind::Placeholder, ".placeholder");
    if (tabWidgetOf(widget) && !widget->objectName().isEmpty())
        addEntry(entries, widget, Kind::Tab, "");
    // A list whose items are only shown, never read back as values, says so.
    if (auto* list = qobject_cast<QComboBox*>(widget);
        list && list->property("translatableItems").toBool()) {
        for (int index = 0; index < list->count(); ++index) {
            const Slot item{list, Kind::Item, index};
            if (usableAsKey(designedText(item)))
                entries.append({item, designedText(item).trimmed()});
        }
    }
}

/// Visits the objects of the window, not those of the windows it owns.
void walk(QObject* parent, const std::function<void(QObject*)>& visit) {
    for (QObject* child : parent->children()) {
        if (isWindow(child))
            continue;
        visit(child);
        walk(child, visit);
    }
}

QList<Entry> entriesOf(QWidget* window) {
    QList<Entry> entries;
    if (!qobject_cast<QMainWindow*>(window) && !window->windowTitle().isEmpty())
        addEntry(entries, window, Kind::Title, "");
    walk(window, [&entries](QObject* object) { addEntries(entries, object); });
    return entries;
}

/// The named controls of the windows, found once per application of a
/// language instead of once per key.
class Controls {
public:
    explicit Controls(const QList<QWidget*>& windows) {
        for (QWidget* window : windows) {
            Named& named = m_windows[window->objectName()];
            named.window = window;
            walk(window, [&named](QObject* object) {
                const QString name = object->objectName();
                if (auto* label = qobject_cast<QLabel*>(object); label && label->buddy())
                    named.labels.insert(label->buddy(), label);
                if (name.isEmpty())
                    return;
                if (auto* action = qobject_cast<QAction*>(object)) {
                    if (!named.actions.contains(name))
                        named.actions.insert(name, action);
                } else if (auto* widget = qobject_cast<QWidget*>(object)) {
                    if (!named.widgets.contains(name))
                        named.widgets.insert(name, widget);
                }
            });
        }
    }

    /// The slot a fixed key sets, or none when its control does not exist.
    std::optional<Slot> slotOf(const QString& windowName, const QString& objectName,
                               Target target) const {
        const auto found = m_windows.constFind(windowName);
        if (found == m_windows.cend())
            return std::nullopt;
        const Named& named = *found;
        if (target == Target::WindowCaption)
            return Slot{named.window, Kind::Title};
        QWidget* widget = named.widgets.value(objectName);
        if (target == Target::EditLabel) {
            QLabel* label = widget ? named.labels.value(widget) : nullptr;
            return label ? std::optional<Slot>(Slot{label, Kind::Caption}) : std::nullopt;
        }
        QObject* object = named.actions.value(objectName);
        if (!object)
            object = widget;
        if (!object)
            return std::nullopt;
        if (target == Target::Hint) {
            // The button shows its action's tooltip.
            if (auto* tool = qobject_cast<QToolButton*>(object); tool && tool->defaultAction())
                return Slot{tool->defaultAction(), Kind::Hint};
            return Slot{object, Kind::Hint};
        }
        if (object == widget && tabWidgetOf(widget))
            return Slot{widget, Kind::Tab};
        // A colour box has no caption of its own: its text is its tooltip.
        if (object == widget && !qobject_cast<QAbstractButton*>(widget) &&
            !qobject_cast<QLabel*>(widget) && !qobject_cast<QGroupBox*>(widget))
            return Slot{widget, Kind::Hint};
        return Slot{object, Kind::Caption};
    }

private:
    struct Named {
        QWidget* window = nullptr;
        // The first control of each name, in the order of the window's tree.
        QHash<QString, QAction*> actions;
        QHash<QString, QWidget*> widgets;
        QHash<QWidget*, QLabel*> labels; // by the field they name
    };
    QHash<QString, Named> m_windows;
};

QSet<Slot> fixedSlots(const Controls& controls, const QList<uilanguage::FixedKey>& keys) {
    QSet<Slot> targets;
    for (const uilanguage::FixedKey& key : keys) {
        if (const auto slot = controls.slotOf(key.window, key.object, key.target))
            targets.insert(*slot);
    }
    return targets;
}

void applyWindowTexts(QWidget* window, const uilanguage::LanguageFile& file,
                      const QSet<Slot>& fixedNow, const QSet<Slot>& fixedEver) {
    const QString section = window->objectName();
    for (const Entry& entry : entriesOf(window)) {
        const Slot& slot = entry.slot;
        if (fixedNow.contains(slot) || !ownsText(slot))
            continue;
        const std::optional<QString> text = file.value(section, entry.key);
        // A control that only the other language's fixed keys set keeps
        // what they gave it unless this file has its own text for it.
        if (!text && fixedEver.contains(slot))
            continue;
        // A file's line is one line; "\n" in it breaks the text as messages do.
        give(slot, text ? QString(*text).replace(QLatin1String("\\n"), QLatin1String("\n"))
                        : designedText(slot));
    }
}

/// Applies the current language to each dialog as it is shown.
class ShownDialogs : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* dialog = qobject_cast<QDialog*>(watched);
            if (dialog && dialog->isWindow() && !dialog->objectName().isEmpty())
                apply(uilanguage::currentProgramFolder(), uilanguage::currentCode(), {dialog});
        }
        return false;
    }
};

/// The program's own texts marked for translation in its code (the web
/// checks' reports) come from the language file: the class is the section
/// and the English text the key. Other texts go on to Qt's translations.
class LanguageFileTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;

    /// No file name: the code's own texts, with no file to read.
    void useFile(const QString& fileName) {
        if (fileName.isEmpty())
            m_file.reset();
        else
            m_file = std::make_unique<uilanguage::LanguageFile>(fileName);
    }
    bool isEmpty() const override { return !m_file; }
    QString translate(const char* context, const char* sourceText, const char*,
                      int) const override {
        if (!m_file || !context || !sourceText)
            return QString();
        const auto text = m_file->value(QString::fromUtf8(context), QString::fromUtf8(sourceText));
        return text ? QString(*text).replace(QLatin1String("&&"), QLatin1String("&")) : QString();
    }

private:
    std::unique_ptr<uilanguage::LanguageFile> m_file;
};

void translateOwnTexts(const QString& fileName, bool english) {
    static LanguageFileTranslator* translator = nullptr;
    if (!translator) {
        translator = new LanguageFileTranslator(qApp);
        QCoreApplication::installTranslator(translator);
    }
    // The English texts are the code's own.
    if (english)
        translator->useFile(QString());
    else
        translator->useFile(fileName);
}

/// Qt's own dialogs and buttons (files, colours, standard buttons) in the
/// program's language, when the desktop has Qt's translations; English is
/// their own.
void translateQtTexts(const QString& code) {
    static QTranslator* translator = nullptr;
    static QString translated = QStringLiteral("en");
    if (code == translated)
        return;
    translated = code;
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    if (code == QLatin1String("en"))
        return;
    auto* loaded = new QTranslator(qApp);
    if (loaded->load(QStringLiteral("qtbase_") + code,
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(loaded);
        translator = loaded;
    } else {
        delete loaded;
    }
}

} // namespace

void followShownDialogs(QObject* owner) {
    qApp->installEventFilter(new ShownDialogs(owner));
}

QString apply(const QString& programFolder, const QString& code, const QList<QWidget*>& windows) {
    uilanguage::setCurrent(programFolder, code);
    if (!uilanguage::isKnown(code))
        return {};
    translateQtTexts(code);
    const QString fileName = uilanguage::fileName(programFolder, code);
    translateOwnTexts(fileName, code == QLatin1String("en"));
    const Controls controls(windows);
    const QSet<Slot> fixedNow = fixedSlots(controls, uilanguage::fixedKeys(code));
    const QSet<Slot> fixedEver = fixedSlots(controls, uilanguage::allFixedKeys());
    const uilanguage::LanguageFile file(fileName);
    for (QWidget* window : windows)
        applyWindowTexts(window, file, fixedNow, fixedEver);

    const auto designed = [&controls](const uilanguage::FixedKey& key) {
        const auto slot = controls.slotOf(key.window, key.object, key.target);
        return slot ? designedText(*slot) : QString();
    };
    for (const uilanguage::Assignment& assignment :
         uilanguage::readFixedTexts(code, fileName, designed)) {
        if (const auto slot =
                controls.slotOf(assignment.window, assignment.object, assignment.target))
            give(*slot, assignment.text);
    }
    return file.problem();
}

QList<QWidget*> programWindows() {
    QList<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        const bool programs = qobject_cast<QMainWindow*>(widget) ||
                              qobject_cast<QDialog*>(widget) ||
                              widget->objectName().startsWith(QLatin1String("T_"));
        if (isWindow(widget) && programs && !widget->objectName().isEmpty() && !isInternal(widget))
            windows.append(widget);
    }
    return windows;
}

QList<ShownText> shownTexts(QWidget* window) {
    QList<ShownText> texts;
    for (const Entry& entry : entriesOf(window))
        texts.append({window->objectName(), entry.key, read(entry.slot), designedText(entry.slot)});
    return texts;
}

std::optional<QString> shownText(const QList<QWidget*>& windows, const uilanguage::FixedKey& key) {
    const auto slot = Controls(windows).slotOf(key.window, key.object, key.target);
    return slot ? std::optional<QString>(read(*slot)) : std::nullopt;
}

} // namespace languageapplier
