#pragma once

#include <QWidget>

#include <optional>

class ElidedLabel;
class QLabel;
class SymbolLabel;

// A title with a value on the right (secondary colour, medium weight, optionally monospaced).
class SettingsValueRow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsValueRow)

public:
    SettingsValueRow(const QString &title, const QString &value, const std::optional<QString> &icon = std::nullopt,
                     bool monospaced = false, QWidget *parent = nullptr);

    QString title() const;
    QString value() const;
    void setValue(const QString &value);
    bool isMonospaced() const { return m_monospaced; }

private:
    void applyTheme();

    bool m_monospaced;
    SymbolLabel *m_icon = nullptr;
    QLabel *m_title;
    ElidedLabel *m_value;
};
