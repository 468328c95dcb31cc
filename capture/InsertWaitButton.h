#pragma once

#include <QToolButton>

#include <functional>

class QMenu;

// The step rows' "clock.badge.plus" menu: "Pause davor" and "Pause danach". An item whose
// action is absent does nothing. The menu is built on first use, so a long step list costs
// one button per row and no menus.
class InsertWaitButton final : public QToolButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InsertWaitButton)

public:
    explicit InsertWaitButton(QWidget *parent = nullptr);

    void setOnInsertWaitBefore(std::function<void()> action) { m_before = std::move(action); }
    void setOnInsertWaitAfter(std::function<void()> action) { m_after = std::move(action); }

    // The menu with its two items (built when first asked for).
    QMenu *insertMenu();

private:
    void showInsertMenu();

    std::function<void()> m_before;
    std::function<void()> m_after;
    QMenu *m_menu = nullptr;
};
