#pragma once

#include "docmodel/parastyles.h"

#include <QDialog>
#include <QSize>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

/// Find and, with replacing on, Replace. Closing it with a button tells
/// what to do: find the next occurrence, replace it, or replace all.
class EdFindDialog : public QDialog {
    Q_OBJECT
public:
    enum Command { FindNext = 1, ReplaceOne, ReplaceAll };

    EdFindDialog(bool replacing, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QString replacement() const;
    void setReplacement(const QString& text);
    bool wholeWord() const;
    void setWholeWord(bool on);
    bool matchCase() const;
    void setMatchCase(bool on);
    bool backward() const;
    void setBackward(bool on);
    /// Closes the dialog with that command as its result.
    void run(Command command) { done(command); }

private:
    QLineEdit* m_text;
    QLineEdit* m_replacement = nullptr;
    QCheckBox* m_wholeWord;
    QCheckBox* m_matchCase;
    QRadioButton* m_up;
};

/// Alignment, indents, spacing and line spacing of a paragraph style.
class EdParagraphDialog : public QDialog {
    Q_OBJECT
public:
    explicit EdParagraphDialog(QWidget* parent = nullptr);

    void setStyle(const TParaStyleInfo& style);
    /// `style` with what the dialog shows laid over it.
    TParaStyleInfo applyTo(TParaStyleInfo style) const;

    QComboBox* alignment;
    QSpinBox* leftIndent;
    QSpinBox* rightIndent;
    QSpinBox* firstIndent;
    QSpinBox* spaceBefore;
    QSpinBox* spaceAfter;
    QComboBox* lineSpacing;
};

/// The frame around a paragraph and its background colour. The colours are
/// picked with the colour dialog the caller hands in.
class EdParaBorderDialog : public QDialog {
    Q_OBJECT
public:
    using ColorPicker = std::function<std::optional<QColor>(const QColor& current)>;

    explicit EdParaBorderDialog(ColorPicker pickColor, QWidget* parent = nullptr);

    void setStyle(const TParaStyleInfo& style);
    TParaStyleInfo applyTo(TParaStyleInfo style) const;
    void setBorderColor(const QColor& color);
    /// An invalid colour is no background.
    void setBackground(const QColor& color);

    QSpinBox* borderWidth;

private:
    ColorPicker m_pickColor;
    QColor m_borderColor;
    QColor m_background;
    QPushButton* m_borderColorButton;
    QPushButton* m_backgroundButton;
};

/// The colour and thickness of a horizontal line. The colour is picked with
/// the colour dialog the caller hands in.
class EdLineDialog : public QDialog {
    Q_OBJECT
public:
    explicit EdLineDialog(EdParaBorderDialog::ColorPicker pickColor, QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);

    QSpinBox* lineWidth;

private:
    EdParaBorderDialog::ColorPicker m_pickColor;
    QColor m_color;
    QPushButton* m_colorButton;
};

/// Two numbers in spin boxes: the size of a new table, how to split a cell,
/// the size of a picture.
class EdSizeDialog : public QDialog {
    Q_OBJECT
public:
    EdSizeDialog(const QString& name, const QString& title, QWidget* parent = nullptr,
                 const QString& rowsLabel = QStringLiteral("Number of &rows:"),
                 const QString& columnsLabel = QStringLiteral("Number of &columns:"));

    QSpinBox* rows;
    QSpinBox* columns;

protected:
    /// The first number is selected, so that what the seller types replaces it.
    void showEvent(QShowEvent* event) override;
};

/// The size a picture is shown at. While "Keep proportions" is on (as it
/// starts), a new width brings the height along and the other way round, in
/// the proportions of the picture's own size.
class EdPictureSizeDialog : public EdSizeDialog {
    Q_OBJECT
public:
    /// `proportions`: the picture's own size; an empty size links nothing.
    explicit EdPictureSizeDialog(const QSize& proportions, QWidget* parent = nullptr);

    /// Shows a size as it is, without bringing one side along.
    void setShownSize(const QSize& size);

    QCheckBox* keepProportions;

private:
    void follow(QSpinBox* changed, QSpinBox* other, double ratio);

    QSize m_proportions;
    bool m_following = false;
};

/// Border, padding and spacing of a table.
class EdTablePropertiesDialog : public QDialog {
    Q_OBJECT
public:
    explicit EdTablePropertiesDialog(QWidget* parent = nullptr);

    QSpinBox* border;
    QSpinBox* padding;
    QSpinBox* spacing;
};

/// The letter case to give the selection.
class EdCharCaseDialog : public QDialog {
    Q_OBJECT
public:
    enum Case { Sentence, Lower, Upper, Title, Toggle };

    explicit EdCharCaseDialog(QWidget* parent = nullptr);

    Case chosen() const;
    void choose(Case letterCase);
    /// The text in that case, letter for letter.
    static QString apply(const QString& text, Case letterCase);

private:
    QList<QRadioButton*> m_buttons;
};

/// A character to insert, picked from a grid or typed as its code.
class EdSymbolDialog : public QDialog {
    Q_OBJECT
public:
    explicit EdSymbolDialog(QWidget* parent = nullptr);

    QString symbol() const;
    void setSymbol(QChar symbol);

private:
    QLineEdit* m_code;
};

/// One of a few choices: the format to paste, the kind of list.
class EdChoiceDialog : public QDialog {
    Q_OBJECT
public:
    EdChoiceDialog(const QString& name, const QString& title, const QStringList& choices,
                   QWidget* parent = nullptr);

    int chosen() const;
    void choose(int index);

private:
    QList<QRadioButton*> m_buttons;
};

/// The kind of list for the selected paragraphs, or none, and the level
/// they stand at in it.
class EdListDialog : public EdChoiceDialog {
    Q_OBJECT
public:
    explicit EdListDialog(QWidget* parent = nullptr);

    /// From 1, the outermost.
    QSpinBox* level;
};
