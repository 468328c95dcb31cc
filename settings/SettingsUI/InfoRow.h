#pragma once

#include <QWidget>

class QLabel;
class SymbolLabel;

// A small hint line: an accent symbol and a footnote text.
class InfoRow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InfoRow)

public:
    InfoRow(const QString &icon, const QString &text, QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);

private:
    void applyTheme();

    SymbolLabel *m_icon;
    QLabel *m_text;
};
