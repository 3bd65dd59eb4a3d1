#include "editor/eddialogs.h"

#include "docmodel/vdocformat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QSpinBox* spinBox(int minimum, int maximum, int value = 0) {
    auto* box = new QSpinBox;
    box->setRange(minimum, maximum);
    box->setValue(value);
    return box;
}

/// OK and Cancel below the dialog's content.
void addOkCancel(QDialog& dialog, QBoxLayout* layout) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
}

} // namespace

EdFindDialog::EdFindDialog(bool replacing, QWidget* parent)
    : QDialog(parent)
    , m_text(new QLineEdit)
    , m_wholeWord(new QCheckBox(QStringLiteral("Match &whole word only")))
    , m_matchCase(new QCheckBox(QStringLiteral("Match &case")))
    , m_up(new QRadioButton(QStringLiteral("&Up"))) {
    setObjectName(replacing ? QStringLiteral("ReplaceDialog") : QStringLiteral("FindDialog"));
    setWindowTitle(replacing ? QStringLiteral("Replace") : QStringLiteral("Find"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Fi&nd what:"), m_text);
    if (replacing) {
        m_replacement = new QLineEdit;
        form->addRow(QStringLiteral("Re&place with:"), m_replacement);
    }
    auto* direction = new QGroupBox(QStringLiteral("Direction"));
    auto* down = new QRadioButton(QStringLiteral("&Down"));
    down->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(down);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_wholeWord);
    layout->addWidget(m_matchCase);
    layout->addWidget(direction);
    auto* buttons = new QDialogButtonBox;
    auto addButton = [this, buttons](const QString& caption, Command command) {
        QPushButton* button = buttons->addButton(caption, QDialogButtonBox::ActionRole);
        connect(button, &QPushButton::clicked, this, [this, command] { run(command); });
        return button;
    };
    addButton(QStringLiteral("&Find Next"), FindNext)->setDefault(true);
    if (replacing) {
        addButton(QStringLiteral("&Replace"), ReplaceOne);
        addButton(QStringLiteral("Replace &All"), ReplaceAll);
    }
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QString EdFindDialog::text() const {
    return m_text->text();
}
void EdFindDialog::setText(const QString& text) {
    m_text->setText(text);
    // The term shown is the one typing replaces, as in any find box.
    m_text->selectAll();
}
QString EdFindDialog::replacement() const {
    return m_replacement ? m_replacement->text() : QString();
}
void EdFindDialog::setReplacement(const QString& text) {
    if (m_replacement)
        m_replacement->setText(text);
}
bool EdFindDialog::wholeWord() const {
    return m_wholeWord->isChecked();
}
void EdFindDialog::setWholeWord(bool on) {
    m_wholeWord->setChecked(on);
}
bool EdFindDialog::matchCase() const {
    return m_matchCase->isChecked();
}
void EdFindDialog::setMatchCase(bool on) {
    m_matchCase->setChecked(on);
}
bool EdFindDialog::backward() const {
    return m_up->isChecked();
}
void EdFindDialog::setBackward(bool on) {
    m_up->setChecked(on);
}

EdParagraphDialog::EdParagraphDialog(QWidget* parent)
    : QDialog(parent)
    , alignment(new QComboBox)
    , leftIndent(spinBox(0, 1000))
    , rightIndent(spinBox(0, 1000))
    , firstIndent(spinBox(-1000, 1000))
    , spaceBefore(spinBox(0, 1000))
    , spaceAfter(spinBox(0, 1000))
    , lineSpacing(new QComboBox) {
    setObjectName(QStringLiteral("ParagraphDialog"));
    setWindowTitle(QStringLiteral("Paragraph"));
    // In the order of TParaStyleInfo::TAlignment.
    alignment->addItems({QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Center"),
                         QStringLiteral("Justify")});
    lineSpacing->addItem(QStringLiteral("Single"), 100);
    lineSpacing->addItem(QStringLiteral("1.5 lines"), 150);
    lineSpacing->addItem(QStringLiteral("Double"), 200);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Alignment:"), alignment);
    form->addRow(QStringLiteral("&Left indent (pixels):"), leftIndent);
    form->addRow(QStringLiteral("&Right indent (pixels):"), rightIndent);
    form->addRow(QStringLiteral("&First line (pixels):"), firstIndent);
    form->addRow(QStringLiteral("Space &before (pixels):"), spaceBefore);
    form->addRow(QStringLiteral("Space a&fter (pixels):"), spaceAfter);
    form->addRow(QStringLiteral("Line &spacing:"), lineSpacing);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    addOkCancel(*this, layout);
}

void EdParagraphDialog::setStyle(const TParaStyleInfo& style) {
    alignment->setCurrentIndex(style.Alignment);
    leftIndent->setValue(style.LeftIndent);
    rightIndent->setValue(style.RightIndent);
    firstIndent->setValue(style.FirstIndent);
    spaceBefore->setValue(style.SpaceBefore);
    spaceAfter->setValue(style.SpaceAfter);
    const int spacing = lineSpacing->findData(style.LineSpacing);
    if (spacing < 0)
        lineSpacing->addItem(QStringLiteral("%1 %").arg(style.LineSpacing), style.LineSpacing);
    lineSpacing->setCurrentIndex(lineSpacing->findData(style.LineSpacing));
}

TParaStyleInfo EdParagraphDialog::applyTo(TParaStyleInfo style) const {
    style.Alignment = TParaStyleInfo::TAlignment(alignment->currentIndex());
    style.LeftIndent = leftIndent->value();
    style.RightIndent = rightIndent->value();
    style.FirstIndent = firstIndent->value();
    style.SpaceBefore = spaceBefore->value();
    style.SpaceAfter = spaceAfter->value();
    style.LineSpacing = lineSpacing->currentData().toInt();
    return style;
}

EdSizeDialog::EdSizeDialog(const QString& name, const QString& title, QWidget* parent,
                           const QString& rowsLabel, const QString& columnsLabel)
    : QDialog(parent)
    , rows(spinBox(1, 100, 2))
    , columns(spinBox(1, 63, 2)) {
    setObjectName(name);
    setWindowTitle(title);
    auto* form = new QFormLayout;
    form->addRow(columnsLabel, columns);
    form->addRow(rowsLabel, rows);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    addOkCancel(*this, layout);
}

void EdSizeDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    columns->selectAll();
}

EdPictureSizeDialog::EdPictureSizeDialog(const QSize& proportions, QWidget* parent)
    : EdSizeDialog(QStringLiteral("PicturePropertiesDialog"), QStringLiteral("Picture"), parent,
                   QStringLiteral("&Height (pixels):"), QStringLiteral("&Width (pixels):"))
    , keepProportions(new QCheckBox(QStringLiteral("&Keep proportions")))
    , m_proportions(proportions) {
    rows->setRange(1, vdocformat::kMaxMeasure);
    columns->setRange(1, vdocformat::kMaxMeasure);
    keepProportions->setObjectName(QStringLiteral("keepProportions"));
    keepProportions->setChecked(!proportions.isEmpty());
    keepProportions->setEnabled(!proportions.isEmpty());
    // Above OK and Cancel.
    auto* box = static_cast<QBoxLayout*>(layout());
    box->insertWidget(box->count() - 1, keepProportions);
    if (proportions.isEmpty())
        return;
    const double heightPerWidth = double(proportions.height()) / proportions.width();
    connect(columns, &QSpinBox::valueChanged, this,
            [this, heightPerWidth] { follow(columns, rows, heightPerWidth); });
    connect(rows, &QSpinBox::valueChanged, this,
            [this, heightPerWidth] { follow(rows, columns, 1 / heightPerWidth); });
}

void EdPictureSizeDialog::setShownSize(const QSize& size) {
    m_following = true;
    rows->setValue(size.height());
    columns->setValue(size.width());
    m_following = false;
}

void EdPictureSizeDialog::follow(QSpinBox* changed, QSpinBox* other, double ratio) {
    if (m_following || !keepProportions->isChecked())
        return;
    m_following = true;
    other->setValue(qMax(1, qRound(changed->value() * ratio)));
    m_following = false;
}

EdParaBorderDialog::EdParaBorderDialog(ColorPicker pickColor, QWidget* parent)
    : QDialog(parent)
    , borderWidth(spinBox(0, 20))
    , m_pickColor(std::move(pickColor))
    , m_borderColorButton(new QPushButton)
    , m_backgroundButton(new QPushButton) {
    setObjectName(QStringLiteral("ParaBorderDialog"));
    setWindowTitle(QStringLiteral("Paragraph Borders and Background"));
    auto* noBackground = new QPushButton(QStringLiteral("&No Background"));
    m_borderColorButton->setObjectName(QStringLiteral("borderColor"));
    m_backgroundButton->setObjectName(QStringLiteral("background"));
    noBackground->setObjectName(QStringLiteral("noBackground"));
    connect(m_borderColorButton, &QPushButton::clicked, this, [this] {
        if (const std::optional<QColor> color = m_pickColor(m_borderColor))
            setBorderColor(*color);
    });
    connect(m_backgroundButton, &QPushButton::clicked, this, [this] {
        if (const std::optional<QColor> color =
                m_pickColor(m_background.isValid() ? m_background : QColor(Qt::white)))
            setBackground(*color);
    });
    connect(noBackground, &QPushButton::clicked, this, [this] { setBackground(QColor()); });
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Border &width (pixels, 0 for none):"), borderWidth);
    form->addRow(QStringLiteral("Border &colour:"), m_borderColorButton);
    auto* background = new QHBoxLayout;
    background->addWidget(m_backgroundButton);
    background->addWidget(noBackground);
    // A row of two buttons: the label's access key goes to the first.
    auto* backgroundLabel = new QLabel(QStringLiteral("&Background:"));
    backgroundLabel->setBuddy(m_backgroundButton);
    form->addRow(backgroundLabel, background);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    addOkCancel(*this, layout);
    setBorderColor(Qt::black);
    setBackground(QColor());
}

void EdParaBorderDialog::setStyle(const TParaStyleInfo& style) {
    borderWidth->setValue(style.BorderWidth);
    setBorderColor(style.BorderColor.isValid() ? style.BorderColor : QColor(Qt::black));
    setBackground(style.Background);
}

TParaStyleInfo EdParaBorderDialog::applyTo(TParaStyleInfo style) const {
    style.BorderWidth = borderWidth->value();
    style.BorderColor = style.BorderWidth > 0 ? m_borderColor : QColor();
    style.Background = m_background;
    return style;
}

void EdParaBorderDialog::setBorderColor(const QColor& color) {
    m_borderColor = color;
    m_borderColorButton->setText(color.name(QColor::HexRgb).toUpper());
}

void EdParaBorderDialog::setBackground(const QColor& color) {
    m_background = color;
    m_backgroundButton->setText(color.isValid() ? color.name(QColor::HexRgb).toUpper()
                                                : QStringLiteral("None"));
}

EdLineDialog::EdLineDialog(EdParaBorderDialog::ColorPicker pickColor, QWidget* parent)
    : QDialog(parent)
    , lineWidth(spinBox(1, 100, 1))
    , m_pickColor(std::move(pickColor))
    , m_colorButton(new QPushButton) {
    setObjectName(QStringLiteral("LinePropertiesDialog"));
    setWindowTitle(QStringLiteral("Horizontal Line"));
    m_colorButton->setObjectName(QStringLiteral("lineColor"));
    connect(m_colorButton, &QPushButton::clicked, this, [this] {
        if (const std::optional<QColor> color = m_pickColor(m_color))
            setColor(*color);
    });
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Colour:"), m_colorButton);
    form->addRow(QStringLiteral("&Width (pixels):"), lineWidth);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    addOkCancel(*this, layout);
}

void EdLineDialog::setColor(const QColor& color) {
    m_color = color;
    m_colorButton->setText(color.name(QColor::HexRgb).toUpper());
}

EdTablePropertiesDialog::EdTablePropertiesDialog(QWidget* parent)
    : QDialog(parent)
    , border(spinBox(0, 100))
    , padding(spinBox(0, 100))
    , spacing(spinBox(0, 100)) {
    setObjectName(QStringLiteral("TablePropertiesDialog"));
    setWindowTitle(QStringLiteral("Table Properties"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Border width (pixels):"), border);
    form->addRow(QStringLiteral("Cell &padding (pixels):"), padding);
    form->addRow(QStringLiteral("Cell &spacing (pixels):"), spacing);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    addOkCancel(*this, layout);
}

EdCharCaseDialog::EdCharCaseDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("CharCaseDialog"));
    setWindowTitle(QStringLiteral("Character Case"));
    auto* layout = new QVBoxLayout(this);
    // In the order of Case.
    for (const char* caption :
         {"&Sentence case.", "&lower case", "&UPPER CASE", "&Title Case", "t&OGGLE cASE"}) {
        auto* button = new QRadioButton(QString::fromLatin1(caption));
        m_buttons.append(button);
        layout->addWidget(button);
    }
    m_buttons.first()->setChecked(true);
    addOkCancel(*this, layout);
}

EdCharCaseDialog::Case EdCharCaseDialog::chosen() const {
    for (int index = 0; index < m_buttons.size(); ++index) {
        if (m_buttons.at(index)->isChecked())
            return Case(index);
    }
    return Sentence;
}

void EdCharCaseDialog::choose(Case letterCase) {
    m_buttons.at(letterCase)->setChecked(true);
}

QString EdCharCaseDialog::apply(const QString& text, Case letterCase) {
    QString out = text;
    bool sentenceStart = true;
    bool wordStart = true;
    for (QChar& c : out) {
        switch (letterCase) {
        case Lower:
            c = c.toLower();
            break;
        case Upper:
            c = c.toUpper();
            break;
        case Toggle:
            c = c.isUpper() ? c.toLower() : c.toUpper();
            break;
        case Title:
            c = wordStart ? c.toUpper() : c.toLower();
            break;
        case Sentence:
            c = sentenceStart && c.isLetter() ? c.toUpper() : c.toLower();
            break;
        }
        if (c.isLetterOrNumber())
            sentenceStart = false;
        else if (c == u'.' || c == u'!' || c == u'?' || c == QChar::ParagraphSeparator)
            sentenceStart = true;
        wordStart = !c.isLetterOrNumber() && c != u'\'';
    }
    return out;
}

EdSymbolDialog::EdSymbolDialog(QWidget* parent)
    : QDialog(parent)
    , m_code(new QLineEdit) {
    setObjectName(QStringLiteral("SymbolDialog"));
    setWindowTitle(QStringLiteral("Symbol"));
    auto* grid = new QGridLayout;
    // The symbols a seller most often needs, one click each.
    const QString symbols = QStringLiteral(
        "\u00a9\u00ae\u2122\u00b0\u00b1\u00d7\u00f7\u00bd\u00bc\u00be\u20ac\u00a3\u00a5\u00a2"
        "\u00a7\u00b6\u2022\u2013\u2014\u2026\u00ab\u00bb\u2190\u2192\u2191\u2193\u2713\u2605");
    for (int index = 0; index < symbols.size(); ++index) {
        auto* button = new QToolButton;
        button->setText(symbols.at(index));
        connect(button, &QToolButton::clicked, this,
                [this, c = symbols.at(index)] { setSymbol(c); });
        grid->addWidget(button, index / 14, index % 14);
    }
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Character &code (hex):"), m_code);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(form);
    addOkCancel(*this, layout);
}

QString EdSymbolDialog::symbol() const {
    bool ok = false;
    const uint code = m_code->text().trimmed().toUInt(&ok, 16);
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return QString();
    const char32_t c = code;
    return QString::fromUcs4(&c, 1);
}

void EdSymbolDialog::setSymbol(QChar symbol) {
    m_code->setText(QString::number(symbol.unicode(), 16).toUpper());
}

EdChoiceDialog::EdChoiceDialog(const QString& name, const QString& title,
                               const QStringList& choices, QWidget* parent)
    : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    for (const QString& choice : choices) {
        auto* button = new QRadioButton(choice);
        m_buttons.append(button);
        layout->addWidget(button);
    }
    if (!m_buttons.isEmpty())
        m_buttons.first()->setChecked(true);
    addOkCancel(*this, layout);
}

int EdChoiceDialog::chosen() const {
    for (int index = 0; index < m_buttons.size(); ++index) {
        if (m_buttons.at(index)->isChecked())
            return index;
    }
    return -1;
}

void EdChoiceDialog::choose(int index) {
    if (index >= 0 && index < m_buttons.size())
        m_buttons.at(index)->setChecked(true);
}

EdListDialog::EdListDialog(QWidget* parent)
    : EdChoiceDialog(QStringLiteral("BulletsNumberingDialog"),
                     QStringLiteral("Bullets and Numbering"),
                     // In the order of TListInfo::TListType, after "None".
                     {QStringLiteral("None"), QStringLiteral("Bullets \u2022"),
                      QStringLiteral("Numbers 1, 2, 3"), QStringLiteral("Letters a, b, c"),
                      QStringLiteral("Letters A, B, C"), QStringLiteral("Roman i, ii, iii"),
                      QStringLiteral("Roman I, II, III")},
                     parent)
    , level(spinBox(1, vdocformat::kMaxListLevel + 1, 1)) {
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Level:"), level);
    // Above OK and Cancel.
    auto* box = static_cast<QBoxLayout*>(layout());
    box->insertLayout(box->count() - 1, form);
}
