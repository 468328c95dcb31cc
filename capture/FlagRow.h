#pragma once

#include <Binding.h>
#include <LaunchFlag.h>

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class SymbolLabel;

// One app-defined launch flag: status symbol, label and help, and a 190-wide value control
// (a picker for bool and enum flags, a text field for string flags) bound to the selection.
class FlagRow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FlagRow)

public:
    FlagRow(const LaunchFlag &flag, Binding<QString> value, QWidget *parent = nullptr);

    const LaunchFlag &flag() const { return m_flag; }
    bool isSet() const { return m_isSet; }
    QComboBox *picker() const { return m_picker; }
    QLineEdit *field() const { return m_field; }
    SymbolLabel *statusSymbol() const { return m_status; }

    // Shows the bound value; a text field keeps its text while it already stands for it.
    void refresh();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    LaunchFlag m_flag;
    Binding<QString> m_value;
    bool m_isSet = false;
    SymbolLabel *m_status = nullptr;
    QComboBox *m_picker = nullptr;
    QLineEdit *m_field = nullptr;
};
