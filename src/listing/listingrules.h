#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

/// Whether a listing body is fit for the marketplaces: what they cut, refuse
/// or show badly (insecure or active content, size, pictures only the
/// seller's computer has, pages too wide for a phone). Every rule is one row
/// of `listingrules::rules()`; the publish command and `vantrel-check --rules`
/// both run `listingrules::check`.
namespace listingrules {

enum class Severity { Error, Warning };

/// Where in the page a rule looks.
enum class Target {
    /// Start tags whose element name matches `element`.
    Element,
    /// Attributes named like `attribute` (on elements named like `element`,
    /// when given) whose value matches `value`.
    Attribute,
    /// Every picture address: `src` and `srcset` candidates of pictures,
    /// `background` attributes and CSS `url()`; the address matches `value`.
    Picture,
    /// Every link address (`href` of `a` and `area`); it matches `value`.
    Link,
    /// Every CSS declaration block (a `style` attribute, one rule of a style
    /// sheet); `value` is searched in it.
    Css,
    /// The whole page; `value` is unused, the test decides.
    Page,
};

/// What a rule found, for its test to confirm.
struct Candidate {
    /// The matched text: the address, the attribute's value, the CSS match.
    QString text;
    /// The first captured group of `value`, when it has one.
    QString captured;
    /// The whole tag or declaration block it was found in; for the page
    /// rules, the whole page.
    QString context;
};

struct Rule {
    const char* id;
    Severity severity;
    const char* english;
    const char* french;
    Target target;
    /// Case-insensitive regular expressions, matched against the whole name.
    const char* element;
    const char* attribute;
    /// Case-insensitive regular expression searched in the value.
    const char* value;
    /// A further test on what matched (numbers, neighbouring declarations);
    /// none: every match is a finding.
    std::function<bool(const Candidate&)> test;
};

struct Finding {
    Severity severity = Severity::Warning;
    QString ruleId;
    QString message;
    /// 1-based line of the page; 0 for the page as a whole.
    int line = 0;
    /// The address, element or declaration concerned.
    QString where;
    /// The first words of the text it concerns, as bidders read them (for a
    /// style, a font or a link); empty when it concerns no text.
    QString words;
    /// What the seller can do about it, in the message's language.
    QString advice;
};

/// The rule table.
const QList<Rule>& rules();

/// The findings of `page`, errors first, then in page order. Messages are in
/// French for the language code "fr", in English otherwise.
QList<Finding> check(const QString& page, const QString& language = QString());
/// The listing code as it is copied: its lines, each ended by CR LF.
QList<Finding> check(const QStringList& lines, const QString& language = QString());

bool hasErrors(const QList<Finding>& findings);

/// "error" or "warning".
QString severityName(Severity severity);

/// One line: `error http-picture line 12: http://…` (no line for the page
/// as a whole), followed by the words it concerns in «», when it has some.
QString describe(const Finding& finding);

} // namespace listingrules
