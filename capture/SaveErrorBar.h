#pragma once

#include <QWidget>

class QLabel;

// The plan's last save or export failure, pinned above the scrolling page so it stays in
// view wherever the page is scrolled: the warning symbol and the error's text, in red on a
// faint red ground.
class SaveErrorBar final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SaveErrorBar)

public:
    explicit SaveErrorBar(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_text = nullptr;
};
