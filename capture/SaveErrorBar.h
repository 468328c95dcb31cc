#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

// A line about the plan's file pinned above the scrolling page, so it stays in view wherever
// the page is scrolled: the last save or export failure, in red on a faint red ground; or a
// notice (a version kept aside), in the text colour on a faint accent ground, which the user
// closes.
class SaveErrorBar final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SaveErrorBar)

public:
    enum class Kind { Error, Notice };

    explicit SaveErrorBar(QWidget *parent = nullptr, Kind kind = Kind::Error);

    void setText(const QString &text);
    QString text() const;

Q_SIGNALS:
    // The notice's close button was clicked.
    void closeClicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor tint() const;

    Kind m_kind;
    QLabel *m_text = nullptr;
    QToolButton *m_close = nullptr;
};
