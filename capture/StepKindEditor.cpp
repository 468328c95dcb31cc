#include "StepKindEditor.h"

#include "StepKinds.h"
#include "StepListEditing.h"

#include <AppPalette.h>
#include <Locales.h>
#include <StepTargetBadges.h>
#include <TextStyle.h>

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

QLabel *makeSecondaryLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, AppPalette::secondaryText());
    label->setPalette(palette);
    return label;
}

} // namespace

void setFieldText(QLineEdit *field, const QString &text)
{
    if (field && field->text() != text)
        field->setText(text);
}

StepKindEditor::StepKindEditor(Layout layout, Binding<ShotStep> step, QWidget *host)
    : QObject(host)
    , m_layout(layout)
    , m_step(std::move(step))
    , m_host(host)
{
    setObjectName(QStringLiteral("stepKindEditor"));
    m_content = new QVBoxLayout;
    m_content->setContentsMargins(0, 0, 0, 0);
    m_content->setSpacing(4);
    build(m_step.get());
}

template <typename T>
T *StepKindEditor::own(T *widget)
{
    m_widgets.append(widget);
    return widget;
}

void StepKindEditor::showStep(const ShotStep &step)
{
    if (step.kind() != m_kind) {
        build(step);
        return;
    }
    setFieldText(m_selectorField, StepListEditing::selector(step));
    setFieldText(m_textField, StepListEditing::typedText(step));
    if (m_secondsField)
        showSeconds(StepListEditing::seconds(step), false);
    if (m_directionPicker) {
        const int index = int(StepListEditing::direction(step));
        if (m_directionPicker->currentIndex() != index)
            m_directionPicker->setCurrentIndex(index);
    }
    if (m_badges) {
        if (const auto *tap = step.as<ShotStep::Tap>())
            m_badges->setTarget(tap->label, tap->at);
        else if (const auto *swipe = step.as<ShotStep::Swipe>())
            m_badges->setTarget(swipe->label, swipe->at);
    }
}

void StepKindEditor::editSelector(const QString &text)
{
    write(StepListEditing::withSelector(m_step.get(), text));
}

void StepKindEditor::editText(const QString &text)
{
    write(StepListEditing::withText(m_step.get(), text));
}

void StepKindEditor::editSeconds(const QString &text)
{
    write(StepListEditing::withSecondsText(m_step.get(), text, QLocale()));
}

void StepKindEditor::chooseDirection(SwipeDirection direction)
{
    write(StepListEditing::withDirection(m_step.get(), direction));
}

void StepKindEditor::write(const std::optional<ShotStep> &step)
{
    if (step && m_step.set)
        m_step.set(*step);
}

void StepKindEditor::build(const ShotStep &step)
{
    // A step keeps its kind in normal use; only a reloaded plan can bring another kind here.
    for (QWidget *widget : std::as_const(m_widgets)) {
        widget->hide();
        widget->deleteLater(); // an edit of one of them may be on the stack
    }
    m_widgets.clear();
    while (QLayoutItem *item = m_content->takeAt(0))
        delete item; // nested lines are layouts; their widgets were removed above
    m_selectorField = m_textField = m_secondsField = nullptr;
    m_directionPicker = nullptr;
    m_badges = nullptr;
    m_kind = step.kind();

    const bool plan = m_layout == Layout::PlanRow;
    switch (m_kind) {
    case ShotStep::Kind::Tap:
        m_content->addWidget(makeBadges(step));
        m_content->addWidget(makeSelectorField(280));
        break;
    case ShotStep::Kind::TypeText:
        if (plan) {
            m_content->addWidget(makeSelectorField(280));
            m_content->addWidget(makeTextField(QStringLiteral("Text"), 320));
        } else {
            auto *line = new QHBoxLayout;
            line->setSpacing(8);
            QLineEdit *identifier = makeSelectorField(QWIDGETSIZE_MAX);
            identifier->setPlaceholderText(QStringLiteral("Identifier"));
            identifier->setFont(TextStyles::monospaced(TextStyle::Body));
            line->addWidget(identifier, 1, Qt::AlignVCenter);
            line->addWidget(makeTextField(QStringLiteral("Eingabe"), QWIDGETSIZE_MAX), 1, Qt::AlignVCenter);
            m_content->addLayout(line);
        }
        break;
    case ShotStep::Kind::Wait: {
        auto *line = new QHBoxLayout;
        line->setSpacing(6);
        if (plan) {
            auto *word = own(new QLabel(QStringLiteral("Warten"), m_host));
            word->setObjectName(QStringLiteral("waitWord"));
            line->addWidget(word, 0, Qt::AlignVCenter);
        }
        line->addWidget(makeSecondsField(), 0, Qt::AlignVCenter);
        QLabel *unit = own(makeSecondaryLabel(QStringLiteral("s"), m_host));
        unit->setObjectName(QStringLiteral("secondsUnit"));
        line->addWidget(unit, 0, Qt::AlignVCenter);
        line->addStretch(1);
        m_content->addLayout(line);
        break;
    }
    case ShotStep::Kind::Swipe: {
        m_content->addWidget(makeBadges(step));
        auto *line = new QHBoxLayout;
        line->setSpacing(8);
        line->addWidget(makeSelectorField(plan ? 280 : 220), 1, Qt::AlignVCenter);
        line->addWidget(makeDirectionPicker(plan), 0, Qt::AlignVCenter);
        line->addStretch(0);
        m_content->addLayout(line);
        break;
    }
    }
    showStep(step);
}

QLineEdit *StepKindEditor::makeSelectorField(int maximumWidth)
{
    auto *field = own(new QLineEdit(m_host));
    field->setObjectName(QStringLiteral("stepSelectorField"));
    field->setPlaceholderText(QStringLiteral("Identifier (optional)"));
    field->setFont(TextStyles::monospaced(TextStyle::Caption));
    field->setMaximumWidth(maximumWidth);
    field->setAcceptDrops(false); // drops belong to the row (reordering)
    connect(field, &QLineEdit::textEdited, this, &StepKindEditor::editSelector);
    m_selectorField = field;
    return field;
}

QLineEdit *StepKindEditor::makeTextField(const QString &placeholder, int maximumWidth)
{
    auto *field = own(new QLineEdit(m_host));
    field->setObjectName(QStringLiteral("stepTextField"));
    field->setPlaceholderText(placeholder);
    field->setMaximumWidth(maximumWidth);
    field->setAcceptDrops(false);
    connect(field, &QLineEdit::textEdited, this, &StepKindEditor::editText);
    m_textField = field;
    return field;
}

QLineEdit *StepKindEditor::makeSecondsField()
{
    auto *field = own(new QLineEdit(m_host));
    field->setObjectName(QStringLiteral("stepSecondsField"));
    field->setPlaceholderText(QStringLiteral("Sekunden"));
    field->setFixedWidth(80);
    field->setAcceptDrops(false);
    connect(field, &QLineEdit::textEdited, this, &StepKindEditor::editSeconds);
    // Leaving the field shows the stored number again (also after unreadable input).
    connect(field, &QLineEdit::editingFinished, this, [this] {
        showSeconds(StepListEditing::seconds(m_step.get()), true);
    });
    m_secondsField = field;
    return field;
}

QComboBox *StepKindEditor::makeDirectionPicker(bool fixedWidth)
{
    auto *picker = own(new QComboBox(m_host));
    picker->setObjectName(QStringLiteral("stepDirectionPicker"));
    picker->setAccessibleName(fixedWidth ? QStringLiteral("Richtung") : QString());
    for (SwipeDirection direction : swipeDirections())
        picker->addItem(swipeDirectionLabel(direction), int(direction));
    if (fixedWidth)
        picker->setFixedWidth(110);
    else
        picker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    picker->setAcceptDrops(false);
    connect(picker, &QComboBox::activated, this, [this, picker](int index) {
        chooseDirection(SwipeDirection(picker->itemData(index).toInt()));
    });
    m_directionPicker = picker;
    return picker;
}

StepTargetBadges *StepKindEditor::makeBadges(const ShotStep &step)
{
    QString label;
    std::optional<NormPoint> point;
    if (const auto *tap = step.as<ShotStep::Tap>()) {
        label = tap->label;
        point = tap->at;
    } else if (const auto *swipe = step.as<ShotStep::Swipe>()) {
        label = swipe->label;
        point = swipe->at;
    }
    m_badges = own(new StepTargetBadges(label, point, m_host));
    return m_badges;
}

void StepKindEditor::showSeconds(double seconds, bool force)
{
    const QLocale locale;
    const std::optional<double> shown = Locales::parseDecimal(m_secondsField->text(), locale);
    if (!force) {
        if (shown && *shown == seconds)
            return; // the field already says this (perhaps as the user typed it)
        if (!shown && m_secondsField->hasFocus())
            return; // the user is typing something not yet readable
    }
    setFieldText(m_secondsField, StepListEditing::formatSeconds(seconds, locale));
}
