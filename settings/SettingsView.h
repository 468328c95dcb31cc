#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

#include <optional>

class AppModel;
class QScrollArea;
class SettingsAccordionCard;

// The settings section of the main window: four accordion cards in a scrolling column, at
// most one open. Every control writes straight into the application's settings store.
class SettingsView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsView)

public:
    enum class Card { General, AppStoreConnect, Screenshots, About };

    explicit SettingsView(AppModel *model, QWidget *parent = nullptr);

    std::optional<Card> openCard() const { return m_openCard; }
    // What showing the section anew does: "Allgemein" open, the others closed, the column at
    // its top, all without animation.
    void showAnew();
    SettingsAccordionCard *card(Card card) const;

    // What the "Info" card shows as the bundle identifier.
    static QString bundleIdentifierText();
    // The column's widest extent, padding included.
    static constexpr int maximumColumnWidth = 720;
    static constexpr int columnPadding = 16;
    static constexpr int cardSpacing = 16;

protected:
    // Each time the section appears again (another section was shown, or the window was
    // closed), it starts over; a window coming back from the dock does not count.
    void showEvent(QShowEvent *event) override;

private:
    void setOpenCard(std::optional<Card> card);
    QWidget *column() const { return m_column; }

    QWidgetList buildGeneral();
    QWidgetList buildAppStoreConnect();
    QWidgetList buildScreenshots();
    QWidgetList buildAbout();

    QPointer<AppModel> m_model;
    std::optional<Card> m_openCard = Card::General;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_column = nullptr;
    QList<SettingsAccordionCard *> m_cards;
};
