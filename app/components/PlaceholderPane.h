#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QVBoxLayout;
class SymbolLabel;

// A read-only page that stands where content will be: a large symbol, a title and a few
// lines of text, centred.
class PlaceholderPane final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PlaceholderPane)

public:
    PlaceholderPane(const QString &systemImage, const QString &title, const QStringList &lines,
                    QWidget *parent = nullptr);

    QString systemImage() const;
    QString title() const;
    QStringList lines() const { return m_lines; }

    void setSystemImage(const QString &systemImage);
    void setTitle(const QString &title);
    void setLines(const QStringList &lines);

private:
    SymbolLabel *m_icon = nullptr;
    QLabel *m_title = nullptr;
    QVBoxLayout *m_linesLayout = nullptr;
    QList<QLabel *> m_lineLabels;
    QStringList m_lines;
};
