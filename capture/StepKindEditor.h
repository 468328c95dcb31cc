#pragma once

#include <Binding.h>
#include <ShotStep.h>

#include <QObject>
#include <QWidgetList>

class QComboBox;
class QLineEdit;
class QVBoxLayout;
class QWidget;
class StepTargetBadges;

// The editor fields of one step's kind, writing every edit straight into the bound step.
// The plan editor's row and the recorder's row lay the fields out differently. The fields
// are children of the row itself and sit in `contentLayout()`, which the row places: a
// long step list then costs no extra widget per row.
class StepKindEditor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StepKindEditor)

public:
    enum class Layout { PlanRow, RecorderRow };

    StepKindEditor(Layout layout, Binding<ShotStep> step, QWidget *host);

    QVBoxLayout *contentLayout() const { return m_content; }

    // Shows `step` in the fields in place: a field gets new text only when it differs, so the
    // field being typed in keeps its caret. A step of another kind gets that kind's fields.
    void showStep(const ShotStep &step);

    ShotStep::Kind kind() const { return m_kind; }

    // The fields of the current kind (null when the kind has no such field).
    QLineEdit *selectorField() const { return m_selectorField; }
    QLineEdit *textField() const { return m_textField; }
    QLineEdit *secondsField() const { return m_secondsField; }
    QComboBox *directionPicker() const { return m_directionPicker; }
    StepTargetBadges *targetBadges() const { return m_badges; }

    // The field edits as the user makes them (also what the widgets' signals call).
    void editSelector(const QString &text);
    void editText(const QString &text);
    void editSeconds(const QString &text);
    void chooseDirection(SwipeDirection direction);

private:
    void build(const ShotStep &step);
    QLineEdit *makeSelectorField(int maximumWidth);
    QLineEdit *makeTextField(const QString &placeholder, int maximumWidth);
    QLineEdit *makeSecondsField();
    QComboBox *makeDirectionPicker(bool fixedWidth);
    StepTargetBadges *makeBadges(const ShotStep &step);
    void write(const std::optional<ShotStep> &step);
    void showSeconds(double seconds, bool force);

    template <typename T> T *own(T *widget);

    Layout m_layout;
    Binding<ShotStep> m_step;
    QWidget *m_host = nullptr;
    QVBoxLayout *m_content = nullptr;
    QWidgetList m_widgets;
    ShotStep::Kind m_kind = ShotStep::Kind::Tap;
    QLineEdit *m_selectorField = nullptr;
    QLineEdit *m_textField = nullptr;
    QLineEdit *m_secondsField = nullptr;
    QComboBox *m_directionPicker = nullptr;
    StepTargetBadges *m_badges = nullptr;
};

// A text field gets new text only when its text differs (keeps caret and selection).
void setFieldText(QLineEdit *field, const QString &text);
