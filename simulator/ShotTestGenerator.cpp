#include "ShotTestGenerator.h"

#include "SimulatorTemplates.h"

#include <QLocale>

#include <cmath>

namespace ShotTestGenerator {
namespace {

// A Swift floating-point literal: shortest round-trip digits, a whole number keeping ".0".
// Values that have no literal (NaN, infinity) become 0.
QString swiftDouble(double value)
{
    if (!std::isfinite(value))
        value = 0;
    QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')))
        text += QStringLiteral(".0");
    return text;
}

QString swiftPoint(const std::optional<NormPoint> &point)
{
    if (!point)
        return QStringLiteral("nil");
    return QStringLiteral("CGVector(dx: %1, dy: %2)").arg(swiftDouble(point->x), swiftDouble(point->y));
}

// Text for a line comment: line breaks would end the comment and the compiler refuses a NUL,
// so every control character becomes a blank.
QString commentText(const QString &text)
{
    QString clean = text;
    for (QChar &c : clean) {
        if (c.category() == QChar::Other_Control || c == QChar(0x2028) || c == QChar(0x2029))
            c = QLatin1Char(' ');
    }
    return clean;
}

// Words Swift does not take as a type's name.
bool isReservedWord(const QString &word)
{
    static const QStringList reserved = {
        QStringLiteral("_"), QStringLiteral("Any"), QStringLiteral("Protocol"), QStringLiteral("Self"),
        QStringLiteral("Type"), QStringLiteral("as"), QStringLiteral("associatedtype"), QStringLiteral("break"),
        QStringLiteral("case"), QStringLiteral("catch"), QStringLiteral("class"), QStringLiteral("continue"),
        QStringLiteral("default"), QStringLiteral("defer"), QStringLiteral("deinit"), QStringLiteral("do"),
        QStringLiteral("else"), QStringLiteral("enum"), QStringLiteral("extension"), QStringLiteral("fallthrough"),
        QStringLiteral("false"), QStringLiteral("fileprivate"), QStringLiteral("for"), QStringLiteral("func"),
        QStringLiteral("guard"), QStringLiteral("if"), QStringLiteral("import"), QStringLiteral("in"),
        QStringLiteral("init"), QStringLiteral("inout"), QStringLiteral("internal"), QStringLiteral("is"),
        QStringLiteral("let"), QStringLiteral("nil"), QStringLiteral("open"), QStringLiteral("operator"),
        QStringLiteral("precedencegroup"), QStringLiteral("private"), QStringLiteral("protocol"),
        QStringLiteral("public"), QStringLiteral("repeat"), QStringLiteral("rethrows"), QStringLiteral("return"),
        QStringLiteral("self"), QStringLiteral("static"), QStringLiteral("struct"), QStringLiteral("subscript"),
        QStringLiteral("super"), QStringLiteral("switch"), QStringLiteral("throw"), QStringLiteral("throws"),
        QStringLiteral("true"), QStringLiteral("try"), QStringLiteral("typealias"), QStringLiteral("var"),
        QStringLiteral("where"), QStringLiteral("while"),
    };
    return reserved.contains(word);
}

// The class name as a Swift identifier; a reserved word gets a trailing "_".
QString swiftIdentifier(const QString &name)
{
    QString identifier;
    for (QChar c : name)
        identifier += (c.isLetterOrNumber() && c.unicode() < 128) || c == QLatin1Char('_') ? c : QLatin1Char('_');
    if (identifier.isEmpty())
        return QStringLiteral("VeloranceStudioScreenshots");
    if (identifier.front().isDigit())
        identifier.prepend(QLatin1Char('_'));
    if (isReservedWord(identifier))
        identifier += QLatin1Char('_');
    return identifier;
}

} // namespace

QString swiftStringLiteral(const QString &text)
{
    QString literal;
    literal.reserve(text.size() + 2);
    literal += QLatin1Char('"');
    for (QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'\\': literal += QStringLiteral("\\\\"); break;
        case u'"': literal += QStringLiteral("\\\""); break;
        case u'\n': literal += QStringLiteral("\\n"); break;
        case u'\r': literal += QStringLiteral("\\r"); break;
        case u'\t': literal += QStringLiteral("\\t"); break;
        case u'\0': literal += QStringLiteral("\\0"); break;
        default:
            if (u < 0x20 || u == 0x7F || u == 0x85 || u == 0x2028 || u == 0x2029)
                literal += QStringLiteral("\\u{%1}").arg(static_cast<unsigned>(u), 0, 16);
            else
                literal += c;
        }
    }
    literal += QLatin1Char('"');
    return literal;
}

QStringList stepLines(const ShotStep &step, const QString &indent)
{
    if (const auto *tap = step.as<ShotStep::Tap>()) {
        return {indent + QStringLiteral("vrsTap(app, selector: %1, label: %2, at: %3)")
                             .arg(swiftStringLiteral(tap->selector), swiftStringLiteral(tap->label), swiftPoint(tap->at))};
    }
    if (const auto *type = step.as<ShotStep::TypeText>()) {
        return {indent + QStringLiteral("vrsType(app, selector: %1, text: %2)")
                             .arg(swiftStringLiteral(type->selector), swiftStringLiteral(type->text))};
    }
    if (const auto *wait = step.as<ShotStep::Wait>()) {
        return {indent + QStringLiteral("Thread.sleep(forTimeInterval: %1)").arg(swiftDouble(std::max(wait->seconds, 0.0)))};
    }
    if (const auto *swipe = step.as<ShotStep::Swipe>()) {
        return {indent + QStringLiteral("vrsSwipe(app, selector: %1, label: %2, at: %3, direction: %4)")
                             .arg(swiftStringLiteral(swipe->selector), swiftStringLiteral(swipe->label),
                                  swiftPoint(swipe->at),
                                  swiftStringLiteral(SwipeDirections::name(swipe->direction)))};
    }
    return {};
}

QString stepHelperFunctions()
{
    return QString::fromUtf8(SimulatorTemplates::bytes(QStringLiteral("steps/StepHelpers.swift")));
}

QString snapshotTestSource(const ScreenshotPlan &plan, const QString &className)
{
    QStringList languages;
    for (const QString &language : plan.languages)
        languages.append(swiftStringLiteral(language));

    QStringList out;
    out << QStringLiteral("import XCTest")
        << QString()
        << QStringLiteral("// Von Velorance Studio erzeugt — Änderungen gehen beim nächsten Export verloren.")
        << QStringLiteral("// Benötigt SnapshotHelper.swift von fastlane im selben UI-Test-Target.")
        << QString()
        << QStringLiteral("final class %1: XCTestCase {").arg(swiftIdentifier(className))
        << QStringLiteral("    override func setUp() {")
        << QStringLiteral("        super.setUp()")
        << QStringLiteral("        continueAfterFailure = true")
        << QStringLiteral("    }")
        << QString()
        << QStringLiteral("    @MainActor")
        << QStringLiteral("    func testScreenshots() {")
        << QStringLiteral("        let app = XCUIApplication()")
        << QStringLiteral("        setupSnapshot(app)")
        << QString()
        << QStringLiteral("        // Sprachen des Plans; SCREENSHOT_LANGS (durch Kommas getrennt) ersetzt sie.")
        << QStringLiteral("        var languages: [String] = [%1]").arg(languages.join(QStringLiteral(", ")))
        << QStringLiteral("        if let requested = ProcessInfo.processInfo.environment[\"SCREENSHOT_LANGS\"], !requested.isEmpty {")
        << QStringLiteral("            languages = requested.split(separator: \",\").map { $0.trimmingCharacters(in: .whitespaces) }.filter { !$0.isEmpty }")
        << QStringLiteral("        }")
        << QString()
        << QStringLiteral("        for language in languages {")
        << QStringLiteral("            FileHandle.standardError.write(\"SHOT-START \\(language)\\n\".data(using: .utf8)!)")
        << QStringLiteral("            app.launchArguments = [\"-AppleLanguages\", \"(\\(language))\", \"-AppleLocale\", language]");
    for (const Shot &shot : plan.shots) {
        out << QString()
            << QStringLiteral("            // Shot: %1").arg(commentText(shot.name))
            << QStringLiteral("            app.launch()");
        for (const ShotStepItem &item : shot.steps)
            out << stepLines(item.step, QStringLiteral("            "));
        out << QStringLiteral("            snapshot(%1)").arg(swiftStringLiteral(shot.name));
    }
    out << QString()
        << QStringLiteral("            FileHandle.standardError.write(\"SHOT-DONE \\(language)\\n\".data(using: .utf8)!)")
        << QStringLiteral("        }")
        << QStringLiteral("    }")
        << QStringLiteral("}")
        << QString()
        << stepHelperFunctions();
    return out.join(QLatin1Char('\n'));
}

} // namespace ShotTestGenerator
