#include "FlagRow.h"

#include "PlanEditorStyle.h"

#include <AppPalette.h>
#include <ControlStyles.h>
#include <SymbolLabel.h>
#include <Whitespace.h>

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

namespace {
constexpr int kControlWidth = 190;
}

FlagRow::FlagRow(const LaunchFlag &flag, Binding<QString> value, QWidget *parent)
    : QWidget(parent)
    , m_flag(flag)
    , m_value(std::move(value))
{
    setObjectName(QStringLiteral("flagRow:") + flag.arg);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(12);

    m_status = new SymbolLabel(QStringLiteral("circle"), TextStyle::Body, this);
    m_status->setObjectName(QStringLiteral("flagStatus"));
    layout->addWidget(m_status, 0, Qt::AlignVCenter);

    auto *texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(1);
    texts->addWidget(PlanEditorStyle::label(flag.label, TextStyle::Callout, this, QColor(), QFont::Medium));
    if (flag.help && !flag.help->isEmpty()) {
        QLabel *help = PlanEditorStyle::caption(*flag.help, this);
        help->setObjectName(QStringLiteral("flagHelp"));
        texts->addWidget(help);
    }
    layout->addLayout(texts, 1);
    layout->addSpacing(12);

    if (flag.type == LaunchFlagType::String) {
        m_field = new QLineEdit(this);
        m_field->setObjectName(QStringLiteral("flagField"));
        m_field->setPlaceholderText(QStringLiteral("Wert"));
        m_field->setFixedWidth(kControlWidth);
        connect(m_field, &QLineEdit::textEdited, this, [this](const QString &text) { m_value.set(text); });
        layout->addWidget(m_field, 0, Qt::AlignVCenter);
    } else {
        m_picker = new QComboBox(this);
        m_picker->setObjectName(QStringLiteral("flagPicker"));
        m_picker->setFixedWidth(kControlWidth);
        ControlStyles::makeMenuPicker(m_picker);
        m_picker->addItem(QStringLiteral("nicht gesetzt"), QString());
        if (flag.type == LaunchFlagType::Bool) {
            m_picker->addItem(QStringLiteral("An"), QStringLiteral("true"));
            m_picker->addItem(QStringLiteral("Aus"), QStringLiteral("false"));
        } else {
            for (const QString &choice : flag.values.value_or(QStringList()))
                m_picker->addItem(choice, choice);
        }
        connect(m_picker, &QComboBox::activated, this,
                [this](int index) { m_value.set(m_picker->itemData(index).toString()); });
        layout->addWidget(m_picker, 0, Qt::AlignVCenter);
    }
    refresh();
}

void FlagRow::refresh()
{
    const QString value = m_value.get();
    const bool isSet = !value.isEmpty();
    m_isSet = isSet;
    m_status->setSymbolName(isSet ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("circle"));
    m_status->setColor(isSet ? AppPalette::accent() : AppPalette::quaternaryFill());
    if (m_field) {
        // The selection is the trimmed text: blanks being typed around a value stay in the field.
        if (Whitespace::trimmedSpacesAndTabs(m_field->text()) != value)
            m_field->setText(value);
    } else {
        const int index = m_picker->findData(value);
        if (m_picker->currentIndex() != index)
            m_picker->setCurrentIndex(index);
    }
}

void FlagRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = AppPalette::quaternaryFill();
    fill.setAlphaF(fill.alphaF() * 0.35);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()), 10, 10);
}
